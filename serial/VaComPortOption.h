#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The COM-PORT-OPTION of a Telnet connection (option 44): the serial line a
// network client asks for. Nothing here is applied to any line; the client's
// requests are taken, remembered and answered, as a pseudo-terminal takes
// whatever termios a client sets. The Telnet layer below (escaping,
// negotiation, subnegotiation framing) is not part of this class.
//
// Thread safety: none; the owner serialises every call.

inline constexpr unsigned char kVaComPortOption = 44;

// What the client asked for, in the option's own codes.
struct TVaClientLine {
    std::uint32_t Baudrate = 9600;
    std::uint8_t DataSize = 7;
    std::uint8_t Parity = 3;   // 1 none, 2 odd, 3 even, 4 mark, 5 space
    std::uint8_t StopSize = 2; // 1 one, 2 two, 3 one and a half

    bool operator==(const TVaClientLine&) const = default;
};

// "8N1" for the frame, "9600 8N1" with the rate.
std::string VaFrameName(const TVaClientLine& line);
std::string VaLineName(const TVaClientLine& line);

class TVaComPortOption {
public:
    // The purge requests of PURGE-DATA.
    static constexpr unsigned kPurgeReceive = 1;
    static constexpr unsigned kPurgeTransmit = 2;

    // What one request asks the owner to do besides sending Reply.
    struct TAnswer {
        // The subnegotiation to send back (after the option byte); empty
        // when the request gets no reply.
        std::string Reply;
        unsigned Purge = 0;
        bool LineChanged = false;
    };

    // One subnegotiation of the option: its bytes after the option byte,
    // already unescaped. Short or unknown requests change nothing.
    TAnswer Handle(std::string_view request);

    // The NOTIFY-MODEMSTATE telling the client that the lines are now on or
    // off, within the client's mask; empty when there is no change or the
    // mask hides it. The first call also gives the state itself, with no
    // change bits, unless the mask hides all of it.
    std::string ModemStateChange(bool on);

    const TVaClientLine& Line() const { return line_; }
    // Whether the client asked us to hold back data (FLOWCONTROL-SUSPEND).
    bool Suspended() const { return suspended_; }

private:
    std::string ModemStateReply(std::uint8_t state) const;
    std::uint8_t ControlState(std::uint8_t request) const;
    bool TakeControl(std::uint8_t value);

    TVaClientLine line_;
    std::uint8_t outboundFlow_ = 1; // no flow control
    std::uint8_t inboundFlow_ = 14; // no flow control
    bool breakOn_ = false;
    bool dtrOn_ = true;
    bool rtsOn_ = true;
    std::uint8_t lineStateMask_ = 0;
    std::uint8_t modemStateMask_ = 255;
    bool suspended_ = false;
    bool linesOn_ = false;
    bool announced_ = false;
};
