#pragma once

// The programming software on the virtual port: it opens the published link
// as a serial device, sets the line through the C library as serial clients
// do (tcsetattr, with glibc's read-back check), sends frames and reads the
// replies while the window thread's event loop runs.

#include <QCoreApplication>
#include <QEventLoop>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

class LinkClient {
public:
    explicit LinkClient(const std::string& link)
        : fd_(::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
          error_(fd_ < 0 ? errno : 0) {}
    LinkClient(const LinkClient&) = delete;
    LinkClient& operator=(const LinkClient&) = delete;
    ~LinkClient() { HangUp(); }

    bool IsOpen() const { return fd_ >= 0; }
    int OpenError() const { return error_; }
    int Fd() const { return fd_; }

    // 9600 bits per second, 7 data bits, even parity, 2 stop bits, raw: the
    // controller's line. 0, or the errno of tcsetattr.
    int SetControllerLine() const {
        termios line{};
        if (::tcgetattr(fd_, &line) != 0) {
            return errno;
        }
        ::cfmakeraw(&line);
        line.c_cflag = (line.c_cflag & ~static_cast<tcflag_t>(CSIZE | PARODD)) | CS7 | PARENB |
                       CSTOPB | CREAD | CLOCAL;
        ::cfsetispeed(&line, B9600);
        ::cfsetospeed(&line, B9600);
        return ::tcsetattr(fd_, TCSANOW, &line) == 0 ? 0 : errno;
    }

    void Send(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t sent = ::write(fd_, bytes.data(), bytes.size());
            if (sent > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(sent));
            } else {
                pollfd room{fd_, POLLOUT, 0};
                ::poll(&room, 1, 10);
            }
        }
    }

    // Sends the frame and runs events until a reply ending in CR is back; what
    // came, after a generous limit at the most (a safety net, not a timing).
    std::string Ask(std::string_view frame) {
        Send(frame);
        return Gather(std::chrono::seconds(5), true);
    }

    // Runs events for the whole span: whatever came meanwhile.
    std::string Listen(std::chrono::milliseconds span) { return Gather(span, false); }

    void HangUp() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    std::string Gather(std::chrono::steady_clock::duration limit, bool untilReply) const {
        std::string gathered;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline &&
               !(untilReply && gathered.ends_with('\r'))) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            char chunk[4096];
            const ssize_t got = ::read(fd_, chunk, sizeof chunk);
            if (got > 0) {
                gathered.append(chunk, static_cast<std::size_t>(got));
            } else {
                pollfd ready{fd_, POLLIN, 0};
                ::poll(&ready, 1, 1);
            }
        }
        return gathered;
    }

    int fd_;
    int error_;
};
