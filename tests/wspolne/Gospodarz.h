#pragma once

// The programming software's side of a pseudo-terminal pair: the port opens
// the slave path, the host writes frames to the master and reads the replies
// while the window thread's event loop runs (the port hands its events over
// to that thread).

#include "tests/wspolne/PtyLine.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>

namespace hostlink::test {

class Gospodarz {
public:
    Gospodarz() {
        QObject::connect(&czytnik_, &QSocketNotifier::activated, [this] { Czytaj(); });
        // One timer for every exchange: a single-shot timer each lives on for
        // its whole limit, and the thousands a benchmark makes would slow
        // every turn of the event loop after them.
        limit_.setSingleShot(true);
        limit_.setInterval(std::chrono::seconds(5));
    }

    const std::string& Sciezka() const { return pty_.SlavePath(); }

    // Sends the frame and runs the event loop until a reply ending in CR has
    // come back whole. Empty when none came within a generous limit, which is
    // a safety net against a hang, not a measured time.
    std::string Zapytaj(std::string_view ramka) {
        odebrane_.clear();
        Wyslij(ramka);
        if (!Kompletna()) {
            QEventLoop petla;
            petla_ = &petla;
            const QMetaObject::Connection koniec =
                QObject::connect(&limit_, &QTimer::timeout, &petla, &QEventLoop::quit);
            limit_.start();
            petla.exec();
            limit_.stop();
            QObject::disconnect(koniec);
            petla_ = nullptr;
        }
        return std::exchange(odebrane_, {});
    }

    // Sends the frame and runs the event loop for a while: whatever came back.
    std::string ZapytajBezOdpowiedzi(std::string_view ramka, std::chrono::milliseconds czas) {
        odebrane_.clear();
        Wyslij(ramka);
        QEventLoop petla;
        QTimer::singleShot(czas, &petla, &QEventLoop::quit);
        petla.exec();
        return std::exchange(odebrane_, {});
    }

private:
    void Wyslij(std::string_view ramka) const {
        while (!ramka.empty()) {
            const ssize_t zapisane = ::write(pty_.Fd(), ramka.data(), ramka.size());
            if (zapisane > 0) {
                ramka.remove_prefix(static_cast<std::size_t>(zapisane));
            } else {
                pollfd gotowy{pty_.Fd(), POLLOUT, 0};
                ::poll(&gotowy, 1, 10);
            }
        }
    }

    void Czytaj() {
        char kawalek[4096];
        ssize_t przeczytane = 0;
        while ((przeczytane = ::read(pty_.Fd(), kawalek, sizeof kawalek)) > 0) {
            odebrane_.append(kawalek, static_cast<std::size_t>(przeczytane));
        }
        if (petla_ != nullptr && Kompletna()) {
            petla_->quit();
        }
    }

    bool Kompletna() const { return !odebrane_.empty() && odebrane_.back() == '\r'; }

    PtyMaster pty_;
    QSocketNotifier czytnik_{pty_.Fd(),
                             QSocketNotifier::Read}; // declared after it: gone before it closes
    std::string odebrane_;
    QTimer limit_;
    QEventLoop* petla_ = nullptr;
};

} // namespace hostlink::test
