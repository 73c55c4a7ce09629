#pragma once

#include "serial/VaComPortOption.h"

#include <cstddef>
#include <memory>

struct telnet_t;
union telnet_event_t;

// One client's Telnet connection as an RFC 2217 server sees it: libtelnet
// does the Telnet layer (IAC escaping, option negotiation, subnegotiation
// framing), TVaComPortOption answers the COM-PORT-OPTION. No socket here:
// received bytes go in through Receive, and everything comes out through the
// sink, so the whole exchange runs in a test or a fuzz target.
//
// Thread safety: none; the owner serialises every call, sink calls included
// (they happen inside Start, Receive, SendData and ModemState).

class TVaTelnetSink {
public:
    // Bytes of the serial data stream, unescaped.
    virtual void TelnetData(const char* data, std::size_t size) = 0;
    // Bytes to send to the client as they stand.
    virtual void TelnetSend(const char* data, std::size_t size) = 0;
    // The client asked to drop what waits (TVaComPortOption::kPurge bits).
    virtual void TelnetPurge(unsigned purge) = 0;
    // The client set its line (TVaTelnetSession::Line has the new one).
    virtual void TelnetLineChanged() = 0;

protected:
    ~TVaTelnetSink() = default;
};

class TVaTelnetSession {
public:
    explicit TVaTelnetSession(TVaTelnetSink& sink);
    ~TVaTelnetSession();
    TVaTelnetSession(const TVaTelnetSession&) = delete;
    TVaTelnetSession& operator=(const TVaTelnetSession&) = delete;

    // Offers the server's side of the options: binary both ways, suppressed
    // go-ahead and the COM-PORT-OPTION. linesOn is the modem state to tell
    // the client once it agrees to the option.
    void Start(bool linesOn);
    void Receive(const char* data, std::size_t size);
    // Serial data to the client; an IAC in it is doubled.
    void SendData(const char* data, std::size_t size);
    // The modem lines went on or off (sent only once the client agreed).
    void ModemState(bool on);

    const TVaClientLine& Line() const { return option_.Line(); }
    bool Suspended() const { return option_.Suspended(); }

private:
    static void Event(telnet_t* telnet, telnet_event_t* event, void* self);
    void Handle(const telnet_event_t& event);
    void SendSubnegotiation(const std::string& payload);

    TVaTelnetSink& sink_;
    TVaComPortOption option_;
    std::unique_ptr<telnet_t, void (*)(telnet_t*)> telnet_;
    bool linesOn_ = false;
    bool comPortAgreed_ = false;
};
