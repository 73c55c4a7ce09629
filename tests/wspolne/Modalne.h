#pragma once

#include "panel/IAeverButton.h"
#include "panel/Okno.h"
#include "panel/Port.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <optional>

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
            if (okno == nullptr) {
                return;
            }
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

// What the port settings dialog's lists are set to; unnamed, a list keeps the
// text every opening starts from, and the device list what the port means.
struct UstawieniaPortu {
    QString predkosc = QStringLiteral("9600");
    QString bityDanych = QStringLiteral("7");
    QString parzystosc = QStringLiteral("Znacznik");
    QString bityStopu = QStringLiteral("2");
    std::optional<QString> urzadzenie = std::nullopt;
};

// Opens the port settings through "&Port", fills the lists, applies and
// closes; gives the rate list's text at opening, empty when the dialog did
// not come up.
inline QString ZastosujUstawieniaPortu(TOkno& okno, const UstawieniaPortu& u) {
    QString naPoczatku;
    WOknieModalnym<TPort> wOknie([&](TPort& port) {
        const auto lista = [&port](const char* nazwa) {
            return port.findChild<QComboBox*>(QLatin1String(nazwa));
        };
        naPoczatku = lista("ComboBox1")->currentText();
        lista("ComboBox1")->setCurrentText(u.predkosc);
        lista("ComboBox2")->setCurrentText(u.bityDanych);
        lista("ComboBox3")->setCurrentText(u.parzystosc);
        lista("ComboBox4")->setCurrentText(u.bityStopu);
        if (u.urzadzenie) {
            lista("ComboBox5")->setCurrentText(*u.urzadzenie);
        }
        port.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        port.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    });
    okno.Button3->click();
    return wOknie.wykonane ? naPoczatku : QString();
}
