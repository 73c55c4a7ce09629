#include "serial/VaComPortOption.h"

#include <array>

namespace {

// Requests of the client; the server's replies carry the code plus 100.
enum : std::uint8_t {
    kSignature = 0,
    kSetBaudrate = 1,
    kSetDataSize = 2,
    kSetParity = 3,
    kSetStopSize = 4,
    kSetControl = 5,
    kNotifyLineState = 6,
    kNotifyModemState = 7,
    kFlowSuspend = 8,
    kFlowResume = 9,
    kSetLineStateMask = 10,
    kSetModemStateMask = 11,
    kPurgeData = 12,
};

constexpr std::uint8_t kServerReply = 100;

// CTS, DSR and DCD, the lines a powered controller on a null-modem cable
// keeps up, and their change bits.
constexpr std::uint8_t kLinesOn = 0x10 | 0x20 | 0x80;
constexpr std::uint8_t kLinesChanged = 0x01 | 0x02 | 0x08;

constexpr char kSignatureText[] = "Parvolen";

std::string Reply(std::uint8_t request, std::string_view value) {
    std::string reply(1, static_cast<char>(request + kServerReply));
    reply.append(value);
    return reply;
}

std::string Reply(std::uint8_t request, std::uint8_t value) {
    return Reply(request, std::string_view(reinterpret_cast<const char*>(&value), 1));
}

char ParityLetter(std::uint8_t parity) {
    constexpr std::array<char, 6> kLetters{'?', 'N', 'O', 'E', 'M', 'S'};
    return parity < kLetters.size() ? kLetters[parity] : '?';
}

std::string StopName(std::uint8_t stopSize) {
    switch (stopSize) {
    case 1:
        return "1";
    case 2:
        return "2";
    case 3:
        return "1.5";
    default:
        return "?";
    }
}

} // namespace

std::string VaFrameName(const TVaClientLine& line) {
    return std::to_string(line.DataSize) + ParityLetter(line.Parity) + StopName(line.StopSize);
}

std::string VaLineName(const TVaClientLine& line) {
    return std::to_string(line.Baudrate) + ' ' + VaFrameName(line);
}

TVaComPortOption::TAnswer TVaComPortOption::Handle(std::string_view request) {
    TAnswer answer;
    if (request.empty()) {
        return answer;
    }
    const auto code = static_cast<std::uint8_t>(request.front());
    const std::string_view value = request.substr(1);
    const auto byte = [&value]() { return static_cast<std::uint8_t>(value.front()); };
    // A one-byte line setting: taken when within its range, echoed as it
    // stands; a request without its value gets no reply.
    const auto setting = [&](std::uint8_t& field, std::uint8_t lowest, std::uint8_t highest) {
        if (!value.empty()) {
            if (byte() >= lowest && byte() <= highest) {
                field = byte();
            }
            answer.Reply = Reply(code, field);
        }
    };
    const TVaClientLine before = line_;
    switch (code) {
    case kSignature:
        // An empty signature asks for ours; a text is the client's own.
        if (value.empty()) {
            answer.Reply = Reply(code, kSignatureText);
        }
        break;
    case kSetBaudrate:
        if (value.size() >= 4) {
            std::uint32_t rate = 0;
            for (std::size_t index = 0; index < 4; ++index) {
                rate = (rate << 8) | static_cast<std::uint8_t>(value[index]);
            }
            if (rate != 0) {
                line_.Baudrate = rate;
            }
            const std::array<char, 4> current{
                static_cast<char>(line_.Baudrate >> 24), static_cast<char>(line_.Baudrate >> 16),
                static_cast<char>(line_.Baudrate >> 8), static_cast<char>(line_.Baudrate)};
            answer.Reply = Reply(code, std::string_view(current.data(), current.size()));
        }
        break;
    case kSetDataSize:
        setting(line_.DataSize, 5, 8);
        break;
    case kSetParity:
        setting(line_.Parity, 1, 5);
        break;
    case kSetStopSize:
        setting(line_.StopSize, 1, 3);
        break;
    case kSetControl:
        if (!value.empty()) {
            const std::uint8_t state = ControlState(byte());
            if (state != 0) {
                answer.Reply = Reply(code, state);
            } else if (TakeControl(byte())) {
                answer.Reply = Reply(code, byte());
            }
        }
        break;
    case kNotifyLineState:
        // The line has no errors to report, and data is never held back.
        answer.Reply = Reply(code, std::uint8_t{0});
        break;
    case kNotifyModemState:
        answer.Reply =
            ModemStateReply(static_cast<std::uint8_t>((linesOn_ ? kLinesOn : 0) & modemStateMask_));
        break;
    case kFlowSuspend:
    case kFlowResume:
        suspended_ = code == kFlowSuspend;
        answer.Reply = Reply(code, std::string_view());
        break;
    case kSetLineStateMask:
        if (!value.empty()) {
            lineStateMask_ = byte();
            answer.Reply = Reply(code, lineStateMask_);
        }
        break;
    case kSetModemStateMask:
        if (!value.empty()) {
            modemStateMask_ = byte();
            answer.Reply = Reply(code, modemStateMask_);
        }
        break;
    case kPurgeData:
        if (!value.empty() && byte() >= 1 && byte() <= 3) {
            answer.Purge = byte();
            answer.Reply = Reply(code, byte());
        }
        break;
    default:
        break;
    }
    answer.LineChanged = line_ != before;
    return answer;
}

std::string TVaComPortOption::ModemStateChange(bool on) {
    const std::uint8_t state = on ? kLinesOn : 0;
    if (!announced_) {
        announced_ = true;
        linesOn_ = on;
        return modemStateMask_ == 0 ? std::string() : ModemStateReply(state & modemStateMask_);
    }
    if (on == linesOn_) {
        return {};
    }
    linesOn_ = on;
    if (((kLinesOn | kLinesChanged) & modemStateMask_) == 0) {
        return {};
    }
    return ModemStateReply(static_cast<std::uint8_t>((state | kLinesChanged) & modemStateMask_));
}

std::string TVaComPortOption::ModemStateReply(std::uint8_t state) const {
    return Reply(kNotifyModemState, state);
}

// The answer to a SET-CONTROL request for a present state, 0 for a value
// that sets something.
std::uint8_t TVaComPortOption::ControlState(std::uint8_t request) const {
    switch (request) {
    case 0:
        return outboundFlow_;
    case 4:
        return breakOn_ ? 5 : 6;
    case 7:
        return dtrOn_ ? 8 : 9;
    case 10:
        return rtsOn_ ? 11 : 12;
    case 13:
        return inboundFlow_;
    default:
        return 0;
    }
}

bool TVaComPortOption::TakeControl(std::uint8_t value) {
    switch (value) {
    case 1:
    case 2:
    case 3:
    case 17:
    case 19:
        outboundFlow_ = value;
        return true;
    case 5:
    case 6:
        breakOn_ = value == 5;
        return true;
    case 8:
    case 9:
        dtrOn_ = value == 8;
        return true;
    case 11:
    case 12:
        rtsOn_ = value == 11;
        return true;
    case 14:
    case 15:
    case 16:
    case 18:
        inboundFlow_ = value;
        return true;
    default:
        return false;
    }
}
