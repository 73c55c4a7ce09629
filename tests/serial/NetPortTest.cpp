#include "serial/VaComm.h"
#include "serial/VaNetPort.h"

#include "tests/wspolne/PortFixture.h"
#include "tests/wspolne/TcpClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::string Url(const char* scheme, std::uint16_t port) {
    return scheme + std::string("127.0.0.1:") + std::to_string(port);
}

// A port set up as ComPort on a network port of its own, answering every
// frame that ends in CR with the status reply.
class NetPort : public AnsweringPort {
protected:
    NetPort() : AnsweringPort([this](const std::string&) { return url; }) {}

    std::uint16_t tcp = FreeTcpPort();
    std::string url = Url(kVaSocketScheme, tcp);
};

TEST_F(NetPort, OneClientAtATimeAndTheNextIsTakenWhenItLeaves) {
    port.Open();
    TcpClient first(tcp);
    ASSERT_TRUE(first.IsOpen()) << "errno " << first.ConnectError();
    EXPECT_EQ(first.Ask(kStatus), kReply);

    TcpClient second(tcp);
    ASSERT_TRUE(second.IsOpen());
    second.Send(kStatus);
    EXPECT_EQ(second.Gather(2s, [](const std::string&) { return false; }), "");
    EXPECT_TRUE(second.Closed()) << "a second client is closed at once";
    EXPECT_EQ(first.Ask(kStatus), kReply) << "the first goes on";

    first.Reset();
    TcpClient afterReset(tcp);
    EXPECT_EQ(afterReset.Ask(kStatus), kReply) << "the next client after a reset";
    afterReset.HangUp();
    TcpClient afterClose(tcp);
    EXPECT_EQ(afterClose.Ask(kStatus), kReply) << "the next client after a close";
    EXPECT_TRUE(reports.empty());
}

TEST_F(NetPort, FramesSentWhileClosedAreNeverAnswered) {
    port.Open();
    port.Close();
    TcpClient client(tcp);
    ASSERT_TRUE(client.IsOpen()) << "the listener stays while the port is closed";
    client.Send(kStatus);
    EXPECT_EQ(client.Listen(100ms), "") << "nothing is answered while closed";

    port.Open();
    EXPECT_EQ(port.TakeDiscarded(), kStatus) << "kept for the record";
    EXPECT_EQ(port.TakeDiscarded(), "") << "given once";
    EXPECT_EQ(client.Listen(200ms), "") << "the old frame is not answered at switch-on";
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(client.Ask(kStatus), kReply);
    EXPECT_FALSE(client.Closed());
}

TEST_F(NetPort, TheModemLinesAndOnRlsdFollowTheClient) {
    int changes = 0;
    port.SetMonitorEvents({ceError, ceRxChar, ceTxEmpty, ceRlsd});
    port.OnRlsd = [&changes](TVaCustomComm&) { ++changes; };
    port.Open();
    EXPECT_EQ(port.ModemStatus(), 0U) << "no client yet";
    {
        TcpClient client(tcp);
        EXPECT_EQ(client.Ask(kStatus), kReply);
        EXPECT_EQ(port.ModemStatus(), MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON);
        EXPECT_EQ(changes, 1);
    }
    RunEventsFor(100ms);
    EXPECT_EQ(changes, 2) << "the client went";
    EXPECT_EQ(port.ModemStatus(), 0U);
    TcpClient again(tcp);
    port.Close();
    EXPECT_EQ(port.ModemStatus(), 0U) << "closed";
}

TEST_F(NetPort, ListensOnlyWhereTheNameNowPoints) {
    TcpClient early(tcp);
    EXPECT_FALSE(early.IsOpen()) << "nothing listens before the first opening";
    port.Open();
    port.Close();

    const std::uint16_t old = tcp;
    tcp = FreeTcpPort();
    url = Url(kVaSocketScheme, tcp);
    port.Open();
    TcpClient toOld(old);
    EXPECT_FALSE(toOld.IsOpen()) << "the old address is no longer listened on";
    TcpClient client(tcp);
    EXPECT_EQ(client.Ask(kStatus), kReply);
    port.Close();

    url = "virtual-elsewhere-that-is-no-device";
    EXPECT_THROW(port.Open(), EVaCommError);
    TcpClient afterRemap(tcp);
    EXPECT_FALSE(afterRemap.IsOpen());
}

TEST(NetAddress, ReadsBothSchemesAndTellsLoopback) {
    struct Case {
        const char* Value;
        std::optional<TVaNetAddress> Address;
        bool Loopback;
    };
    const std::vector<Case> cases{
        {"socket://127.0.0.1:4001", TVaNetAddress{TVaNetKind::Raw, "127.0.0.1", 4001}, true},
        {"rfc2217://localhost:2217", TVaNetAddress{TVaNetKind::Rfc2217, "localhost", 2217}, true},
        {"rfc2217://[::1]:2217", TVaNetAddress{TVaNetKind::Rfc2217, "::1", 2217}, true},
        {"socket://127.3.4.5:1", TVaNetAddress{TVaNetKind::Raw, "127.3.4.5", 1}, true},
        {"socket://0.0.0.0:65535", TVaNetAddress{TVaNetKind::Raw, "0.0.0.0", 65535}, false},
        {"socket://[::]:4001", TVaNetAddress{TVaNetKind::Raw, "::", 4001}, false},
        {"rfc2217://plc.lab:2217", TVaNetAddress{TVaNetKind::Rfc2217, "plc.lab", 2217}, false},
        {"socket://::1:4001", std::nullopt, false},
        {"socket://127.0.0.1:4001/x", std::nullopt, false},
        {"socket://127.0.0.1:+4001", std::nullopt, false},
        {"socket://user@host:4001", std::nullopt, false},
        {"tcp://127.0.0.1:4001", std::nullopt, false},
    };
    for (const Case& c : cases) {
        const std::optional<TVaNetAddress> address = VaParseNetAddress(c.Value);
        EXPECT_EQ(address, c.Address) << c.Value;
        if (address) {
            EXPECT_EQ(VaNetAddressText(*address), c.Value);
            EXPECT_EQ(VaIsLoopbackHost(address->Host), c.Loopback) << c.Value;
        }
    }
}

TEST_F(NetPort, MalformedAddressesFailTheOpening) {
    for (const char* bad : {"socket://127.0.0.1", "socket://127.0.0.1:0", "rfc2217://:2217",
                            "socket://127.0.0.1:70000", "rfc2217://[::1:2217",
                            "socket://no.such.host.invalid:4001"}) {
        url = bad;
        EXPECT_THROW(port.Open(), EVaCommError) << bad;
        EXPECT_FALSE(port.IsOpen()) << bad;
    }
}

TEST_F(NetPort, OutputWithoutAClientIsDroppedAndNeverReachesTheNext) {
    port.Open();
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(port.WriteText(std::string(1000, 'x'))) << i;
    }
    RunEventsFor(200ms);
    TcpClient client(tcp);
    EXPECT_EQ(client.Ask(kStatus), kReply);
}

TEST_F(NetPort, AClientThatReadsLateGetsEverythingInOrder) {
    port.Open();
    TcpClient client(tcp);
    ASSERT_EQ(client.Ask(kStatus), kReply);
    // Far more than the socket buffers hold: the writer waits for room.
    std::string sent;
    for (int block = 0; block < 8000; ++block) {
        sent += std::string(999, static_cast<char>('a' + block % 26)) + '\n';
    }
    std::string got;
    std::thread reader([&client, &got, size = sent.size()] {
        std::this_thread::sleep_for(300ms);
        got = client.Gather(20s, [size](const std::string& all) { return all.size() >= size; });
    });
    port.Buffers().SetWriteTimeout(20000);
    for (std::size_t at = 0; at < sent.size(); at += 1000) {
        ASSERT_TRUE(port.WriteText(std::string_view(sent).substr(at, 1000)));
    }
    reader.join();
    EXPECT_EQ(got.size(), sent.size());
    EXPECT_TRUE(got == sent) << "bytes lost or out of order";
    EXPECT_TRUE(reports.empty());
}

TEST_F(NetPort, AFloodThePortDoesNotReadStaysBounded) {
    port.OnRxChar = nullptr;
    port.Open();
    TcpClient client(tcp);
    const std::string flood(1 << 20, 'f');
    std::thread sender([&client, &flood] { client.Send(flood); });
    RunEventsFor(300ms);
    EXPECT_LE(port.InQueueCount(), 64 * 1024 + 4096) << "waiting bytes stay bounded";
    EXPECT_GT(port.InQueueCount(), 0);
    // Reading makes room: everything arrives in the end, in order.
    std::string read;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (read.size() < flood.size() && std::chrono::steady_clock::now() < deadline) {
        read += port.ReadText();
        RunEventsFor(1ms);
    }
    sender.join();
    EXPECT_EQ(read, flood);
}

// What a Telnet stream carries: the data, and the COM-PORT-OPTION
// subnegotiations (after the option byte, unescaped).
struct TelnetStream {
    std::string Data;
    std::vector<std::string> ComPort;
};

TelnetStream Decode(const std::string& bytes) {
    TelnetStream stream;
    constexpr char kIac = '\xff';
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] != kIac) {
            stream.Data += bytes[at];
            continue;
        }
        const auto command = static_cast<unsigned char>(bytes.at(++at));
        if (command == 0xff) {
            stream.Data += kIac;
        } else if (command >= 251) {
            ++at; // WILL, WONT, DO, DONT and the option
        } else if (command == 250) {
            std::string payload;
            for (++at; !(bytes.at(at) == kIac && bytes.at(at + 1) == '\xf0'); ++at) {
                payload += bytes[at];
                at += bytes[at] == kIac ? 1U : 0U;
            }
            ++at;
            if (payload.front() == 44) {
                stream.ComPort.push_back(payload.substr(1));
            }
        }
    }
    return stream;
}

class Rfc2217Port : public NetPort {
protected:
    Rfc2217Port() { url = Url(kVaRfc2217Scheme, tcp); }

    // Runs events until the stream holds this many COM-PORT subnegotiations.
    static TelnetStream Await(TcpClient& client, std::string& raw, std::size_t count) {
        raw += client.Gather(5s, [&raw, count](const std::string& got) {
            return Decode(raw + got).ComPort.size() >= count;
        });
        return Decode(raw);
    }
};

TEST_F(Rfc2217Port, TakesTheClientsLineEscapesIacAndReportsTheModemLines) {
    int lineEvents = 0;
    port.OnClientLine = [&lineEvents](TVaCustomComm&) { ++lineEvents; };
    port.Open();
    TcpClient client(tcp);
    std::string raw;
    client.Send(kWillComPort); // WILL COM-PORT-OPTION
    TelnetStream stream = Await(client, raw, 1);
    ASSERT_EQ(stream.ComPort.at(0), "\x6b\xb0") << "DSR, CTS and DCD on while on";

    client.Send(ComPortRequest(std::string("\x01\x00\x00\x4b\x00", 5)) +
                ComPortRequest("\x02\x08") + ComPortRequest("\x03\x01") +
                ComPortRequest("\x04\x01") + ComPortRequest(std::string("\x05\x01", 2)));
    stream = Await(client, raw, 6);
    const std::vector<std::string> echoes{std::string("\x65\x00\x00\x4b\x00", 5), "\x66\x08",
                                          "\x67\x01", "\x68\x01", std::string("\x69\x01", 2)};
    EXPECT_EQ(std::vector(stream.ComPort.begin() + 1, stream.ComPort.end()), echoes);
    const std::optional<TVaNetClient> seen = port.NetworkClient();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(seen->Connected);
    EXPECT_TRUE(seen->LineSet);
    EXPECT_EQ(VaLineName(seen->Line), "19200 8N1");
    RunEventsFor(50ms);
    EXPECT_GE(lineEvents, 1) << "the window learns of the client's line";

    // An IAC in the data is doubled on the wire both ways.
    port.OnRxChar = [this](TVaCustomComm& sender, std::int32_t) {
        gathered += sender.ReadText();
        if (gathered.ends_with('\r')) {
            frames.push_back(std::exchange(gathered, {}));
            sender.WriteText("\xff@\r");
        }
    };
    raw += client.Ask("A\xff\xff"
                      "B\r");
    EXPECT_EQ(frames, std::vector<std::string>{"A\xff"
                                               "B\r"});
    EXPECT_EQ(Decode(raw).Data, "\xff@\r");
    EXPECT_NE(raw.find("\xff\xff@\r"), std::string::npos);

    port.Close();
    stream = Await(client, raw, 7);
    EXPECT_EQ(stream.ComPort.back(), "\x6b\x0b") << "the lines drop at switch-off";
    client.Send(ComPortRequest("\x07"));
    stream = Await(client, raw, 8);
    EXPECT_EQ(stream.ComPort.back(), std::string("\x6b\x00", 2)) << "a poll while off";
    port.Open();
    stream = Await(client, raw, 9);
    EXPECT_EQ(stream.ComPort.back(), "\x6b\xbb") << "and come back at switch-on";
    EXPECT_TRUE(reports.empty());
}

TEST_F(Rfc2217Port, DataWaitsWhileTheClientSuspendsTheFlow) {
    port.Open();
    TcpClient client(tcp);
    std::string raw;
    client.Send(kWillComPort + ComPortRequest("\x08"));
    Await(client, raw, 2); // the modem state, the suspension's reply
    client.Send(kStatus);
    raw += client.Listen(200ms);
    ASSERT_EQ(frames.size(), 1U) << "answered, and held back";
    EXPECT_EQ(Decode(raw).Data, "") << "nothing goes out while suspended";
    client.Send(ComPortRequest("\x09"));
    raw += client.Gather(
        5s, [&raw](const std::string& got) { return Decode(raw + got).Data == kReply; });
    EXPECT_EQ(Decode(raw).Data, kReply) << "and all of it once resumed";
}

TEST_F(Rfc2217Port, ANewClientStartsFromTheControllerLine) {
    port.Open();
    {
        TcpClient first(tcp);
        std::string raw;
        first.Send(kWillComPort + ComPortRequest("\x02\x08"));
        Await(first, raw, 2);
        ASSERT_TRUE(port.NetworkClient()->LineSet);
    }
    RunEventsFor(100ms);
    TcpClient next(tcp);
    std::string raw;
    next.Send(kWillComPort + ComPortRequest(std::string("\x02\x00", 2)));
    const TelnetStream stream = Await(next, raw, 2);
    EXPECT_EQ(stream.ComPort.back(), "\x66\x07") << "asked, not set: the controller's 7 bits";
    EXPECT_FALSE(port.NetworkClient()->LineSet);
}

} // namespace
