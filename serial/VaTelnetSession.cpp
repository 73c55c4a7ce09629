#include "serial/VaTelnetSession.h"

#include <libtelnet.h>

#include <array>
#include <new>
#include <string>

namespace {

// What the server agrees to when the client asks (us: our WILL, him: their
// WILL); every other option is refused by libtelnet.
constexpr std::array<telnet_telopt_t, 4> kOptions{{
    {TELNET_TELOPT_BINARY, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {kVaComPortOption, TELNET_WILL, TELNET_DO},
    {-1, 0, 0},
}};

} // namespace

TVaTelnetSession::TVaTelnetSession(TVaTelnetSink& sink)
    : sink_(sink),
      telnet_(telnet_init(kOptions.data(), &TVaTelnetSession::Event, 0, this), &telnet_free) {
    if (!telnet_) {
        throw std::bad_alloc();
    }
}

TVaTelnetSession::~TVaTelnetSession() = default;

void TVaTelnetSession::Start(bool linesOn) {
    linesOn_ = linesOn;
    telnet_negotiate(telnet_.get(), TELNET_WILL, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_.get(), TELNET_DO, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_.get(), TELNET_WILL, TELNET_TELOPT_SGA);
    telnet_negotiate(telnet_.get(), TELNET_WILL, kVaComPortOption);
}

void TVaTelnetSession::Receive(const char* data, std::size_t size) {
    telnet_recv(telnet_.get(), data, size);
}

void TVaTelnetSession::SendData(const char* data, std::size_t size) {
    telnet_send(telnet_.get(), data, size);
}

void TVaTelnetSession::ModemState(bool on) {
    linesOn_ = on;
    if (comPortAgreed_) {
        SendSubnegotiation(option_.ModemStateChange(on));
    }
}

void TVaTelnetSession::Event(telnet_t*, telnet_event_t* event, void* self) {
    static_cast<TVaTelnetSession*>(self)->Handle(*event);
}

void TVaTelnetSession::Handle(const telnet_event_t& event) {
    switch (event.type) {
    case TELNET_EV_DATA:
        sink_.TelnetData(event.data.buffer, event.data.size);
        break;
    case TELNET_EV_SEND:
        sink_.TelnetSend(event.data.buffer, event.data.size);
        break;
    case TELNET_EV_WILL:
    case TELNET_EV_DO:
        // Either direction agreed is enough: clients differ in which one
        // they ask for. The client learns the lines' state at once.
        if (event.neg.telopt == kVaComPortOption && !comPortAgreed_) {
            comPortAgreed_ = true;
            SendSubnegotiation(option_.ModemStateChange(linesOn_));
        }
        break;
    case TELNET_EV_SUBNEGOTIATION:
        if (event.sub.telopt == kVaComPortOption) {
            const TVaComPortOption::TAnswer answer =
                option_.Handle(std::string_view(event.sub.buffer, event.sub.size));
            SendSubnegotiation(answer.Reply);
            if (answer.Purge != 0) {
                sink_.TelnetPurge(answer.Purge);
            }
            if (answer.LineChanged) {
                sink_.TelnetLineChanged();
            }
        }
        break;
    default:
        // Other commands, warnings and errors: libtelnet has already reset
        // its own state where it had to; the data stream goes on.
        break;
    }
}

void TVaTelnetSession::SendSubnegotiation(const std::string& payload) {
    if (!payload.empty()) {
        telnet_subnegotiation(telnet_.get(), kVaComPortOption, payload.data(), payload.size());
    }
}
