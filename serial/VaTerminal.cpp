#include "serial/VaTerminal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace {

// One read or write on the non-blocking descriptor, retried when a signal
// interrupts it. A device with nothing to give or no room now moves 0 bytes,
// which is no failure. Gives 0 or an errno code.
template <typename Call> int Transfer(Call call, int& moved) {
    ssize_t result = 0;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        return errno == EAGAIN ? 0 : errno;
    }
    moved = static_cast<int>(result);
    return 0;
}

} // namespace

bool VaHungUp(int handle) {
    pollfd state{handle, 0, 0};
    return ::poll(&state, 1, 0) > 0 && (state.revents & POLLHUP) != 0;
}

std::shared_ptr<TVaDevice> TVaTerminal::Open(const std::string& path, int& error) {
    const int handle = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        error = errno;
        return nullptr;
    }
    // flock holds every other opener, root included; TIOCEXCL makes the
    // kernel refuse other opens of a terminal outright (EBUSY).
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(handle);
        return nullptr;
    }
    static_cast<void>(::ioctl(handle, TIOCEXCL));
    error = 0;
    return std::shared_ptr<TVaDevice>(new TVaTerminal(handle));
}

TVaTerminal::TVaTerminal(int handle) : handle_(handle), pollHandle_(handle) {
    std::array<char, 4096> chunk{};
    while (discarded_.size() < static_cast<std::size_t>(kVaDiscardedLimit)) {
        int got = 0;
        const std::size_t room =
            std::min(chunk.size(), static_cast<std::size_t>(kVaDiscardedLimit) - discarded_.size());
        if (Transfer([&] { return ::read(handle, chunk.data(), room); }, got) != 0 || got == 0) {
            break;
        }
        discarded_.append(chunk.data(), static_cast<std::size_t>(got));
    }
    // Fails on a line already hung up, which then has nothing queued anyway.
    static_cast<void>(::tcflush(handle, TCIFLUSH));
    ReadCounters(statusBase_);
    eventBase_ = statusBase_;
}

TVaTerminal::~TVaTerminal() {
    TVaTerminal::Close();
}

void TVaTerminal::Close() {
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return;
    }
    // The exclusive flag belongs to the terminal, not to this descriptor: left
    // set, it would refuse the next open of a pty whose other side stays open.
    static_cast<void>(::ioctl(handle_, TIOCNXCL));
    // Unlocked explicitly: a thread still inside poll() keeps the open file
    // alive past close(), and with it a lock that close() alone would free.
    static_cast<void>(::flock(handle_, LOCK_UN));
    ::close(handle_);
    handle_ = -1;
}

int TVaTerminal::Apply(const TVaLineRecord& record) {
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    // TCSETS directly rather than tcsetattr: the C library reads the settings
    // back and fails when data bits or parity differ, which a pty always does
    // (it keeps neither). The kernel's record is the leading part of termios.
    if (::ioctl(handle_, TCSETS, &record.Tio) != 0) {
        return errno;
    }
    if (record.CustomRate != 0) {
        if (const int error = VaSetCustomRate(handle_, record.CustomRate); error != 0) {
            return error;
        }
    }
    // Modem lines: a pty has none and refuses these, which is not a failure of
    // the line settings.
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    static_cast<void>(::ioctl(handle_, record.DtrOn ? TIOCMBIS : TIOCMBIC, &dtr));
    if ((record.Tio.c_cflag & CRTSCTS) == 0) {
        static_cast<void>(::ioctl(handle_, record.RtsOn ? TIOCMBIS : TIOCMBIC, &rts));
    }
    return 0;
}

void TVaTerminal::SetEventMask(std::uint32_t mask) {
    const std::lock_guard lock(mutex_);
    eventMask_ = mask;
}

bool TVaTerminal::ReadCounters(TCounters& counters) const {
    serial_icounter_struct icount{};
    if (handle_ < 0 || ::ioctl(handle_, TIOCGICOUNT, &icount) != 0) {
        return false;
    }
    counters.Frame = static_cast<std::uint32_t>(icount.frame);
    counters.Overrun = static_cast<std::uint32_t>(icount.overrun);
    counters.Parity = static_cast<std::uint32_t>(icount.parity);
    counters.Break = static_cast<std::uint32_t>(icount.brk);
    counters.BufferOverrun = static_cast<std::uint32_t>(icount.buf_overrun);
    return true;
}

std::uint32_t TVaTerminal::TakeErrors(TCounters& base) const {
    // Devices without error counters (a pty) report no line errors.
    TCounters now;
    if (!ReadCounters(now)) {
        return 0;
    }
    std::uint32_t errors = 0;
    if (now.Frame != base.Frame) {
        errors |= CE_FRAME;
    }
    if (now.Overrun != base.Overrun) {
        errors |= CE_OVERRUN;
    }
    if (now.Parity != base.Parity) {
        errors |= CE_RXPARITY;
    }
    if (now.Break != base.Break) {
        errors |= CE_BREAK;
    }
    if (now.BufferOverrun != base.BufferOverrun) {
        errors |= CE_RXOVER;
    }
    base = now;
    return errors;
}

int TVaTerminal::Status(TVaCommStatus& status, std::uint64_t& received) {
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    int waiting = 0;
    if (::ioctl(handle_, FIONREAD, &waiting) != 0) {
        // A terminal refuses every request once its other side is gone: that
        // line has nothing waiting and no error bits.
        if (errno != EIO) {
            return errno;
        }
        waiting = 0;
    }
    int unsent = 0;
    if (::ioctl(handle_, TIOCOUTQ, &unsent) != 0) {
        unsent = 0;
    }
    status = TVaCommStatus{};
    status.InQueue = waiting;
    status.OutQueue = unsent;
    status.Errors = TakeErrors(statusBase_);
    received = readTotal_ + static_cast<std::uint64_t>(waiting);
    return 0;
}

int TVaTerminal::Read(char* buffer, int count, int& got) {
    got = 0;
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    const int error =
        Transfer([&] { return ::read(handle_, buffer, static_cast<std::size_t>(count)); }, got);
    readTotal_ += static_cast<std::uint64_t>(got);
    // The other side went away: nothing more to read.
    return error == EIO ? 0 : error;
}

int TVaTerminal::ModemStatus(std::uint32_t& status) {
    status = 0;
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    int lines = 0;
    if (::ioctl(handle_, TIOCMGET, &lines) != 0) {
        return 0;
    }
    const std::pair<int, std::uint32_t> bits[] = {{TIOCM_CTS, MS_CTS_ON},
                                                  {TIOCM_DSR, MS_DSR_ON},
                                                  {TIOCM_RNG, MS_RING_ON},
                                                  {TIOCM_CAR, MS_RLSD_ON}};
    for (const auto& [line, bit] : bits) {
        if ((lines & line) != 0) {
            status |= bit;
        }
    }
    return 0;
}

std::string TVaTerminal::TakeDiscarded() {
    const std::lock_guard lock(mutex_);
    return std::exchange(discarded_, {});
}

int TVaTerminal::Write(const char* buffer, int count, int& written) {
    written = 0;
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    // Bytes for a peer that is gone are dropped, so the write queue never
    // fills up behind a line nobody listens to.
    if (VaHungUp(handle_)) {
        written = count;
        return 0;
    }
    const int error = Transfer(
        [&] { return ::write(handle_, buffer, static_cast<std::size_t>(count)); }, written);
    if (error == EIO) {
        written = count;
        return 0;
    }
    return error;
}

std::uint32_t TVaTerminal::PendingEvents() {
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return 0;
    }
    std::uint32_t events = 0;
    int waiting = 0;
    if ((eventMask_ & EV_RXCHAR) != 0 && ::ioctl(handle_, FIONREAD, &waiting) == 0 &&
        readTotal_ + static_cast<std::uint64_t>(waiting) > reported_) {
        events |= EV_RXCHAR;
    }
    const std::uint32_t errors = TakeErrors(eventBase_);
    if ((errors & ~CE_BREAK) != 0) {
        events |= eventMask_ & EV_ERR;
    }
    if ((errors & CE_BREAK) != 0) {
        events |= eventMask_ & EV_BREAK;
    }
    return events;
}

void TVaTerminal::MarkReported(std::uint64_t received) {
    const std::lock_guard lock(mutex_);
    reported_ = std::max(reported_, received);
}

int TVaTerminal::WaitWritable(int stopHandle) const {
    std::array<pollfd, 2> fds{{{stopHandle, POLLIN, 0}, {pollHandle_, POLLOUT, 0}}};
    int ready = 0;
    do {
        ready = ::poll(fds.data(), fds.size(), -1);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return -1;
    }
    return fds[0].revents != 0 ? 0 : 1;
}
