#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Acts once on the first modal window of type Okno that the code under test
// opens, from inside that window's modal loop, where the test could not
// reach otherwise. The action must close the window, or the test would wait
// for ever.
template <class Okno> class WOknieModalnym : public QObject {
public:
    explicit WOknieModalnym(std::function<void(Okno&)> akcja) : akcja_(std::move(akcja)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            auto* okno = qobject_cast<Okno*>(QApplication::activeModalWidget());
            if (okno == nullptr)
                return;
            timer_.stop();
            wykonane = true;
            akcja_(*okno);
        });
        timer_.start();
    }

    bool wykonane = false;

private:
    std::function<void(Okno&)> akcja_;
    QTimer timer_;
};
