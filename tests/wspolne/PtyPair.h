#pragma once

#include "tests/wspolne/PtyLine.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <poll.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <thread>
#include <unistd.h>

// A pseudo-terminal pair: the port opens the slave path, the test plays the
// programming software on the master.
class PtyPair : public PtyMaster {
public:
    void Send(std::string_view bytes) const {
        ASSERT_EQ(::write(Fd(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until count bytes came or a generous limit passed (a safety net
    // against a hang, not a measured time).
    std::string Receive(std::size_t count) const {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{Fd(), POLLIN, 0};
            if (::poll(&ready, 1, 50) > 0) {
                char chunk[4096];
                const ssize_t got = ::read(Fd(), chunk, sizeof chunk);
                if (got > 0) {
                    bytes.append(chunk, static_cast<std::size_t>(got));
                }
            }
        }
        return bytes;
    }

    // The slave's line settings (termios requests on the master act on them).
    termios SlaveSettings() const {
        termios tio{};
        ::tcgetattr(Fd(), &tio);
        return tio;
    }

    speed_t SlaveSpeed() const {
        const termios tio = SlaveSettings();
        return cfgetospeed(&tio);
    }
};

// Runs the window thread's event loop (sleeping while idle) until the
// condition holds; false if it still does not after a generous limit.
inline bool RunEventsUntil(const std::function<bool()>& done) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(std::chrono::seconds(5), &loop, &QEventLoop::quit);
    check.start(std::chrono::milliseconds(2));
    loop.exec();
    return done();
}

// Waits for the condition WITHOUT running events, as a busy window thread
// would; false if it still does not hold after a generous limit.
inline bool WaitWithoutEvents(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Runs the event loop for a while, for checks that something does NOT happen.
inline void RunEventsFor(std::chrono::milliseconds span) {
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    loop.exec();
}

// CPU seconds the whole process has used, for checks that no thread spins.
inline double ProcessCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
