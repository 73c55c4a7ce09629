#include "serial/VaDevice.h"

#include <algorithm>
#include <array>
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

} // namespace

std::int32_t VaRateOf(const TVaLineSettings& settings) {
    if (settings.Baudrate == brUser) {
        return settings.UserBaudrate;
    }
    return settings.Baudrate < kRates.size() ? kRates.at(settings.Baudrate) : 0;
}

std::optional<TVaLineRecord> VaMakeLineRecord(const TVaLineSettings& settings) {
    if (settings.Databits == db4 || settings.Stopbits == sb15 || settings.Databits > db8 ||
        settings.Stopbits > sb2 || settings.Parity > paSpace || settings.Baudrate > br256000) {
        return std::nullopt;
    }
    const std::int32_t rate = VaRateOf(settings);
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
