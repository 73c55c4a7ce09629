#pragma once

// The line a test plays the programming software on: the master of a fresh
// pseudo-terminal pair, whose slave path the port under test opens, and the
// settings of the controller's port.

#include "serial/VaComm.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

class PtyMaster {
public:
    PtyMaster() {
        fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        char name[128] = {};
        if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0 ||
            ::ptsname_r(fd_, name, sizeof name) != 0) {
            Close();
            throw std::runtime_error("no pseudo-terminal");
        }
        slavePath_ = name;
    }
    PtyMaster(const PtyMaster&) = delete;
    PtyMaster& operator=(const PtyMaster&) = delete;
    ~PtyMaster() { Close(); }

    int Fd() const { return fd_; }
    const std::string& SlavePath() const { return slavePath_; }

    // The programming software's end goes away; the slave sees a hang-up.
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_ = -1;
    std::string slavePath_;
};

// 9600 bits per second, 7 data bits, even parity with checking, 2 stop bits:
// the controller's port as the program sets it.
inline void SetControllerLine(TVaComm& port) {
    port.SetBaudrate(br9600);
    port.SetParity(paEven);
    port.SetParityCheck(true);
    port.SetDatabits(db7);
    port.SetStopbits(sb2);
}
