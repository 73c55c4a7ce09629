#pragma once

// The programming software's side of a pseudo-terminal pair: the port opens
// the slave path, the host writes frames to the master and reads the replies
// while the window thread's event loop runs (the port hands its events over
// to that thread).

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hostlink::test {

class Gospodarz {
public:
    Gospodarz() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        char nazwa[128] = {};
        if (::ptsname_r(master_, nazwa, sizeof nazwa) != 0) {
            throw std::runtime_error("no pseudo-terminal name");
        }
        sciezka_ = nazwa;
        czytnik_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(czytnik_.get(), &QSocketNotifier::activated, [this] { Czytaj(); });
    }
    ~Gospodarz() {
        czytnik_.reset();
        ::close(master_);
    }
    Gospodarz(const Gospodarz&) = delete;
    Gospodarz& operator=(const Gospodarz&) = delete;

    const std::string& Sciezka() const { return sciezka_; }

    // Sends the frame and runs the event loop until a reply ending in CR has
    // come back whole. Empty when none came within a generous limit, which is
    // a safety net against a hang, not a measured time.
    std::string Zapytaj(std::string_view ramka) {
        odebrane_.clear();
        Wyslij(ramka);
        if (!Kompletna()) {
            QEventLoop petla;
            petla_ = &petla;
            QTimer::singleShot(std::chrono::seconds(5), &petla, &QEventLoop::quit);
            petla.exec();
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
            const ssize_t zapisane = ::write(master_, ramka.data(), ramka.size());
            if (zapisane > 0) {
                ramka.remove_prefix(static_cast<std::size_t>(zapisane));
            } else {
                pollfd gotowy{master_, POLLOUT, 0};
                ::poll(&gotowy, 1, 10);
            }
        }
    }

    void Czytaj() {
        char kawalek[4096];
        ssize_t przeczytane = 0;
        while ((przeczytane = ::read(master_, kawalek, sizeof kawalek)) > 0) {
            odebrane_.append(kawalek, static_cast<std::size_t>(przeczytane));
        }
        if (petla_ != nullptr && Kompletna()) {
            petla_->quit();
        }
    }

    bool Kompletna() const { return !odebrane_.empty() && odebrane_.back() == '\r'; }

    int master_ = -1;
    std::string sciezka_;
    std::unique_ptr<QSocketNotifier> czytnik_;
    std::string odebrane_;
    QEventLoop* petla_ = nullptr;
};

} // namespace hostlink::test
