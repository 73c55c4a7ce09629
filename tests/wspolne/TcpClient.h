#pragma once

// A client of the network port over TCP on loopback: it connects, sends
// bytes and reads what comes while the window thread's event loop runs.

#include <QCoreApplication>
#include <QEventLoop>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>

// A TCP port of loopback nobody listens on now.
inline std::uint16_t FreeTcpPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(probe);
    return ntohs(address.sin_port);
}

// Telnet's IAC SB COM-PORT-OPTION <payload, IAC doubled> IAC SE, as an
// RFC 2217 client sends its requests.
inline std::string ComPortRequest(std::string_view payload) {
    std::string escaped;
    for (const char byte : payload) {
        escaped += byte;
        if (byte == '\xff') {
            escaped += byte;
        }
    }
    return "\xff\xfa\x2c" + escaped + "\xff\xf0";
}

// IAC WILL COM-PORT-OPTION: the client offers RFC 2217.
inline const std::string kWillComPort = "\xff\xfb\x2c";

class TcpClient {
public:
    explicit TcpClient(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            error_ = errno;
            HangUp();
        }
    }
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;
    ~TcpClient() { HangUp(); }

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    int ConnectError() const { return error_; }
    // The server closed the connection (seen by the last read).
    bool Closed() const { return closed_; }

    void Send(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) {
                return;
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
    }

    // Sends the frame and runs events until what came ends in CR; a
    // generous limit is only a safety net.
    std::string Ask(std::string_view frame) {
        Send(frame);
        return Gather(std::chrono::seconds(5),
                      [](const std::string& got) { return got.ends_with('\r'); });
    }

    // Runs events for the whole span: whatever came meanwhile.
    std::string Listen(std::chrono::milliseconds span) {
        return Gather(span, [](const std::string&) { return false; });
    }

    // Runs events until done(what came) holds, or the limit passes.
    template <typename Done>
    std::string Gather(std::chrono::steady_clock::duration limit, Done done) {
        std::string gathered;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline && !done(gathered) && !closed_) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            char chunk[4096];
            const ssize_t got = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
            if (got > 0) {
                gathered.append(chunk, static_cast<std::size_t>(got));
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                closed_ = true;
            } else {
                pollfd ready{fd_, POLLIN, 0};
                ::poll(&ready, 1, 1);
            }
        }
        return gathered;
    }

    // Goes away with a reset instead of an orderly close, as a killed
    // program's connection may.
    void Reset() {
        const linger hard{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        HangUp();
    }

    void HangUp() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
    int error_ = 0;
    bool closed_ = false;
};
