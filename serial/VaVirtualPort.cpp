#include "serial/VaVirtualPort.h"

#include "serial/VaResolver.h"
#include "serial/VaTerminal.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

// glibc's tcsetattr reads the settings back and fails with EINVAL when the
// kernel ignored data bits or parity (a pty always does) and nothing else of
// the request took effect. A client that asks for the controller's 7E2 line
// succeeds once and then leaves CSTOPB behind, which makes the same request
// of the next client a no-op. Clearing CSTOPB is enough to make it a change
// again; the kernel ignores stop bits on a pty, so the client in use loses
// nothing by it.
void ForgetStopBits(int master) {
    termios line{};
    if (::ioctl(master, TCGETS, &line) == 0 && (line.c_cflag & CSTOPB) != 0) {
        line.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
        static_cast<void>(::ioctl(master, TCSETS, &line));
    }
}

// Replies a client never read stay queued in the slave after it closes, and
// flushing on the master does not reach them: the next client would take
// them for answers to its own first frames. Opening the slave for a moment
// and discarding its input drops them, as a UART loses what reached it
// before its cable was plugged in. The slave is opened through the master,
// not by its path, so nothing at that path is ever opened instead; a slave
// a client holds for exclusive use is already in use and has nothing stale.
void ForgetUnreadReplies(int master) {
    const int slave = ::ioctl(master, TIOCGPTPEER, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave >= 0) {
        static_cast<void>(::tcflush(slave, TCIFLUSH));
        ::close(slave);
    }
}

// The master end of the virtual port as the port's device. Termios requests
// on a master act on the slave, whose settings belong to the client: the
// port's own line settings are checked (at Open and at every change, as for
// any device) but not imposed on it.
class TVaVirtualEnd final : public TVaTerminal {
public:
    // A client may have left, or come, while the port was closed, unseen:
    // the line it finds is reset now rather than at its first frame.
    explicit TVaVirtualEnd(int handle) : TVaTerminal(handle) {
        WithHandle([this](int master) {
            ForgetStopBits(master);
            NoteHangUp(master);
            return 0;
        });
    }

    int Apply(const TVaLineRecord&) override {
        return WithHandle([](int) { return 0; });
    }

    std::uint32_t PendingEvents() override {
        std::uint32_t events = TVaTerminal::PendingEvents();
        // A client that hangs up and reconnects at once may come back before
        // the hang-up is seen, so the reset is also made whenever a client
        // speaks: by the time it leaves, the next one finds the line reset.
        WithHandle([this, &events](int master) {
            const bool wasGone = clientGone_;
            if (NoteHangUp(master) || (events & EV_RXCHAR) != 0) {
                ForgetStopBits(master);
            }
            if (clientGone_ != wasGone) {
                events |= EventMaskLocked() & EV_RLSD;
            }
            return 0;
        });
        return events;
    }

    // A client on the line stands for the controller's partner with its
    // modem lines up, as a connected cable would show them.
    int ModemStatus(std::uint32_t& status) override {
        status = 0;
        return WithHandle([&status](int master) {
            status = VaHungUp(master) ? 0 : MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON;
            return 0;
        });
    }

private:
    // Whether the client side is hung up; what the client left unread is
    // dropped once, when the hang-up is first seen.
    bool NoteHangUp(int master) {
        const bool hungUp = VaHungUp(master);
        if (hungUp && !clientGone_) {
            ForgetUnreadReplies(master);
        }
        clientGone_ = hungUp;
        return hungUp;
    }

    bool clientGone_ = false; // under the device's lock
};

// Each missing directory of the path, created private to the user.
int MakePrivateDirectories(const std::filesystem::path& directory) {
    std::filesystem::path partial;
    for (const std::filesystem::path& part : directory) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    struct stat found {};
    if (::stat(directory.c_str(), &found) != 0) {
        return errno;
    }
    return S_ISDIR(found.st_mode) ? 0 : ENOTDIR;
}

// The link's target, or "" when it is no link.
std::string LinkTarget(const std::string& link) {
    std::array<char, PATH_MAX> target{};
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size() - 1);
    return length > 0 ? std::string(target.data(), static_cast<std::size_t>(length)) : "";
}

// Makes link name terminal: a symbolic link made under a temporary name and
// renamed over whatever stood there, so the name never points elsewhere on
// the way and an old link is replaced, not followed.
int Publish(const std::string& terminal, const std::string& link) {
    const std::filesystem::path path(link);
    if (path.has_parent_path()) {
        if (const int error = MakePrivateDirectories(path.parent_path()); error != 0) {
            return error;
        }
    }
    const std::string temporary = link + ".new-" + std::to_string(::getpid());
    static_cast<void>(::unlink(temporary.c_str())); // left by an earlier run with this pid
    if (::symlink(terminal.c_str(), temporary.c_str()) != 0) {
        return errno;
    }
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        const int error = errno;
        static_cast<void>(::unlink(temporary.c_str()));
        return error;
    }
    return 0;
}

// The slave starts as a plain 8N1 raw line, as a UART would: a client that
// opens it without setting it up gets the bytes unchanged and no echo of
// the replies back into the port. The pty's own rate stays, so a client's
// 9600 request is a change too.
void SetBaseline(int master) {
    termios line{};
    if (::ioctl(master, TCGETS, &line) != 0) {
        return;
    }
    line.c_iflag = 0;
    line.c_oflag = 0;
    line.c_lflag = 0;
    line.c_cflag = (line.c_cflag & CBAUD) | CS8 | CREAD | CLOCAL;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    static_cast<void>(::ioctl(master, TCSETS, &line));
}

} // namespace

std::unique_ptr<TVaVirtualPort> TVaVirtualPort::Create(const std::string& linkPath, int& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::array<char, 128> name{};
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
        ::ptsname_r(master, name.data(), name.size()) != 0 ||
        ::fcntl(master, F_SETFD, FD_CLOEXEC) != 0 ||
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
        error = errno;
        if (master >= 0) {
            ::close(master);
        }
        return nullptr;
    }
    std::unique_ptr<TVaVirtualPort> port(new TVaVirtualPort(master, name.data(), linkPath));
    SetBaseline(master);
    // The master reports a hang-up only once a slave has been open and
    // closed: opened here once, a client that has not come yet looks like one
    // that has gone, and the port's output is dropped until one comes.
    const int slave = ::open(name.data(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        error = errno;
        port->link_.clear();
        return nullptr;
    }
    ::close(slave);
    error = Publish(port->terminal_, port->link_);
    if (error != 0) {
        port->link_.clear();
        return nullptr;
    }
    return port;
}

TVaVirtualPort::TVaVirtualPort(int master, std::string terminal, std::string link)
    : master_(master), terminal_(std::move(terminal)), link_(std::move(link)) {}

TVaVirtualPort::~TVaVirtualPort() {
    if (!link_.empty() && LinkTarget(link_) == terminal_) {
        static_cast<void>(::unlink(link_.c_str()));
    }
    ::close(master_);
}

std::shared_ptr<TVaDevice> TVaVirtualPort::Open(int& error) {
    if (LinkTarget(link_) != terminal_) {
        if (error = Publish(terminal_, link_); error != 0) {
            return nullptr;
        }
    }
    // A descriptor of its own for each opening: Close gives it up, and a
    // thread that outlives the opening still holds a valid one, while the
    // master itself stays open.
    const int handle = ::fcntl(master_, F_DUPFD_CLOEXEC, 0);
    if (handle < 0) {
        error = errno;
        return nullptr;
    }
    error = 0;
    return std::make_shared<TVaVirtualEnd>(handle);
}

std::shared_ptr<TVaDevice> TVaVirtualPorts::Open(const std::string& portName, int& error) {
    std::unique_ptr<TVaVirtualPort>& port = ports_[portName];
    if (!port) {
        port = TVaVirtualPort::Create(VaVirtualLinkPath(portName), error);
        if (!port) {
            ports_.erase(portName);
            return nullptr;
        }
    }
    return port->Open(error);
}
