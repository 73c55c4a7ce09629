// Bytes from a network client into the RFC 2217 server's Telnet session, in
// pieces as the socket delivers them: libtelnet's parsing, negotiation and
// subnegotiation framing, and our COM-PORT-OPTION handling of every
// subnegotiation libtelnet hands over. One session per input, as one client.
//
// Input: an operations byte (bit 0: the modem lines are on at the start),
// then pieces, each a length byte and that many bytes (the last piece takes
// what is left). A length of 0 is no bytes but the simulator switched off or
// on, and a reply with an IAC in it sent to the client.
//
// A crash, a sanitizer report or a broken invariant is a finding: the data
// taken never outgrows what came in, an IAC going out is always doubled, and
// the client's line stays within what the option can name.
#include "serial/VaComPortOption.h"
#include "serial/VaTelnetSession.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class Sink final : public TVaTelnetSink {
public:
    void TelnetData(const char*, std::size_t size) override { data += size; }
    void TelnetSend(const char* bytes, std::size_t size) override { sent.append(bytes, size); }
    void TelnetPurge(unsigned purge) override {
        if (purge == 0 || purge > 3) {
            std::abort();
        }
    }
    void TelnetLineChanged() override { ++lineChanges; }

    std::size_t data = 0;
    std::string sent;
    std::size_t lineChanges = 0;
};

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    Sink sink;
    TVaTelnetSession session(sink);
    bool on = (input[0] & 1) != 0;
    session.Start(on);
    std::size_t received = 0;
    for (std::size_t at = 1; at < size;) {
        const std::size_t wanted = input[at++];
        if (wanted == 0) {
            on = !on;
            session.ModemState(on);
            // Whatever the session sent before stays as it is; the reply's
            // IAC must go out doubled, right after it.
            const std::size_t before = sink.sent.size();
            session.SendData("\xff@\r", 3);
            Check(sink.sent.compare(before, std::string::npos, "\xff\xff@\r") == 0);
            continue;
        }
        const std::size_t piece = wanted < size - at ? wanted : size - at;
        session.Receive(reinterpret_cast<const char*>(input + at), piece);
        received += piece;
        at += piece;
        Check(sink.data <= received);
        // Only the bytes of this input are kept; memory stays bounded by it.
        sink.sent.clear();
    }
    const TVaClientLine& line = session.Line();
    Check(line.Baudrate != 0);
    Check(line.DataSize >= 5 && line.DataSize <= 8);
    Check(line.Parity >= 1 && line.Parity <= 5);
    Check(line.StopSize >= 1 && line.StopSize <= 3);
    return 0;
}
