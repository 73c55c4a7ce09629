#include "serial/VaDevice.h"

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

constexpr std::array<std::int32_t, 16> kRates{0,     110,    300,    600,   1200,  2400,
                                              4800,  9600,   14400,  19200, 38400, 56000,
                                              57600, 115200, 128000, 256000};

constexpr std::array<std::pair<std::int32_t, speed_t>, 30> kSpeeds{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

std::optional<speed_t> StandardSpeed(std::int32_t rate) {
    const auto* found = std::find_if(kSpeeds.begin(), kSpeeds.end(),
                                     [rate](const auto& entry) { return entry.first == rate; });
    if (found == kSpeeds.end()) {
        return std::nullopt;
    }
    return found->second;
}

tcflag_t DataBitsFlag(TVaDatabits bits) {
    switch (bits) {
    case db5:
        return CS5;
    case db6:
        return CS6;
    case db7:
        return CS7;
    default:
        return CS8;
    }
}

tcflag_t ParityFlags(TVaParity parity) {
    switch (parity) {
    case paOdd:
        return PARENB | PARODD;
    case paEven:
        return PARENB;
    case paMark:
        return PARENB | CMSPAR | PARODD;
    case paSpace:
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

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

std::optional<TVaLineRecord> VaMakeLineRecord(const TVaLineSettings& settings) {
    if (settings.Databits == db4 || settings.Stopbits == sb15 || settings.Databits > db8 ||
        settings.Stopbits > sb2 || settings.Parity > paSpace || settings.Baudrate > br256000) {
        return std::nullopt;
    }
    const std::int32_t rate =
        settings.Baudrate == brUser ? settings.UserBaudrate : kRates.at(settings.Baudrate);
    if (rate <= 0) {
        return std::nullopt;
    }

    TVaLineRecord record;

    termios& tio = record.Tio;
    // Binary, raw line: no translation, no echo, no signals; reads never wait.
    if (settings.ParityCheck) {
        tio.c_iflag |= INPCK;
    }
    if (settings.XonXoffOut) {
        tio.c_iflag |= IXON;
    }
    if (settings.XonXoffIn) {
        tio.c_iflag |= IXOFF;
    }
    tio.c_cflag = CREAD | CLOCAL | DataBitsFlag(settings.Databits) | ParityFlags(settings.Parity);
    if (settings.Stopbits == sb2) {
        tio.c_cflag |= CSTOPB;
    }
    if (settings.OutCtsFlow || settings.ControlRts == rtsHandshake) {
        tio.c_cflag |= CRTSCTS;
    }
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    tio.c_cc[VSTART] = static_cast<cc_t>(settings.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(settings.XoffChar);

    const std::optional<speed_t> speed = StandardSpeed(rate);
    if (speed) {
        cfsetispeed(&tio, *speed);
        cfsetospeed(&tio, *speed);
    } else {
        // Placeholder until the arbitrary rate is set after the record.
        cfsetispeed(&tio, B38400);
        cfsetospeed(&tio, B38400);
        record.CustomRate = rate;
    }

    record.XonLimit = std::min(settings.ReadSize / 4, 1024);
    record.XoffLimit = record.XonLimit;
    record.DtrOn = settings.ControlDtr != dtrDisabled;
    record.RtsOn = settings.ControlRts == rtsEnabled || settings.ControlRts == rtsHandshake;
    return record;
}

std::shared_ptr<TVaDevice> TVaDevice::Open(const std::string& path, int& error) {
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
    std::shared_ptr<TVaDevice> device(new TVaDevice(handle));
    device->ReadCounters(device->statusBase_);
    device->eventBase_ = device->statusBase_;
    error = 0;
    return device;
}

TVaDevice::TVaDevice(int handle) : handle_(handle), pollHandle_(handle) {}

TVaDevice::~TVaDevice() {
    Close();
}

void TVaDevice::Close() {
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

int TVaDevice::Apply(const TVaLineRecord& record) {
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

void TVaDevice::SetEventMask(std::uint32_t mask) {
    const std::lock_guard lock(mutex_);
    eventMask_ = mask;
}

bool TVaDevice::ReadCounters(TCounters& counters) const {
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

std::uint32_t TVaDevice::TakeErrors(TCounters& base) const {
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

int TVaDevice::Status(TVaCommStatus& status, std::uint64_t& received) {
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    int waiting = 0;
    if (::ioctl(handle_, FIONREAD, &waiting) != 0) {
        return errno;
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

int TVaDevice::Read(char* buffer, int count, int& got) {
    got = 0;
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    const int error =
        Transfer([&] { return ::read(handle_, buffer, static_cast<std::size_t>(count)); }, got);
    readTotal_ += static_cast<std::uint64_t>(got);
    return error;
}

int TVaDevice::Write(const char* buffer, int count, int& written) {
    written = 0;
    const std::lock_guard lock(mutex_);
    if (handle_ < 0) {
        return EBADF;
    }
    return Transfer([&] { return ::write(handle_, buffer, static_cast<std::size_t>(count)); },
                    written);
}

std::uint32_t TVaDevice::PendingEvents() {
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

void TVaDevice::MarkReported(std::uint64_t received) {
    const std::lock_guard lock(mutex_);
    reported_ = std::max(reported_, received);
}

int TVaDevice::WaitWritable(int stopHandle) const {
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
