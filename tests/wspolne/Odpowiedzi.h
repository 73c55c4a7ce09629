#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Answers every message box the code under test opens, with its default
// button, and keeps the texts in order. Message boxes run a modal loop of
// their own; the timer fires inside it.
class Odpowiedzi : public QObject {
public:
    Odpowiedzi() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            auto* okno = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (okno == nullptr) {
                return;
            }
            teksty.push_back(okno->text());
            ikony.push_back(okno->icon());
            okno->done(QMessageBox::Ok);
        });
        timer_.start();
    }

    QStringList teksty;
    QList<QMessageBox::Icon> ikony;

private:
    QTimer timer_;
};
