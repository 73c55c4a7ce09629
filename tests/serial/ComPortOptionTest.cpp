#include "serial/VaComPortOption.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

struct Exchange {
    const char* Name;
    std::string Request;
    std::string Reply;
};

TEST(ComPortOption, AnswersEveryRequestWithTheServerReply) {
    const std::vector<Exchange> exchanges{
        {"baud rate set", Bytes({1, 0, 0, 0x4b, 0}), Bytes({101, 0, 0, 0x4b, 0})},
        {"baud rate asked", Bytes({1, 0, 0, 0, 0}), Bytes({101, 0, 0, 0x4b, 0})},
        {"baud rate too short", Bytes({1, 0, 0}), ""},
        {"data size set", Bytes({2, 8}), Bytes({102, 8})},
        {"data size out of range", Bytes({2, 9}), Bytes({102, 8})},
        {"data size asked", Bytes({2, 0}), Bytes({102, 8})},
        {"parity set", Bytes({3, 1}), Bytes({103, 1})},
        {"parity out of range", Bytes({3, 6}), Bytes({103, 1})},
        {"stop size 1.5", Bytes({4, 3}), Bytes({104, 3})},
        {"stop size asked", Bytes({4, 0}), Bytes({104, 3})},
        {"no flow control", Bytes({5, 1}), Bytes({105, 1})},
        {"flow control asked", Bytes({5, 0}), Bytes({105, 1})},
        {"DTR off", Bytes({5, 9}), Bytes({105, 9})},
        {"DTR asked", Bytes({5, 7}), Bytes({105, 9})},
        {"RTS asked", Bytes({5, 10}), Bytes({105, 11})},
        {"break on", Bytes({5, 5}), Bytes({105, 5})},
        {"break asked", Bytes({5, 4}), Bytes({105, 5})},
        {"inbound flow asked", Bytes({5, 13}), Bytes({105, 14})},
        {"unknown control value", Bytes({5, 99}), ""},
        {"line state polled", Bytes({6}), Bytes({106, 0})},
        {"modem state polled while off", Bytes({7}), Bytes({107, 0})},
        {"suspend", Bytes({8}), Bytes({108})},
        {"resume", Bytes({9}), Bytes({109})},
        {"line state mask", Bytes({10, 0xff}), Bytes({110, 0xff})},
        {"modem state mask", Bytes({11, 0xf0}), Bytes({111, 0xf0})},
        {"purge both", Bytes({12, 3}), Bytes({112, 3})},
        {"purge nonsense", Bytes({12, 4}), ""},
        {"signature asked", Bytes({0}), Bytes({100}) + "Parvolen"},
        {"client's signature", Bytes({0}) + "client", ""},
        {"unknown request", Bytes({42, 1}), ""},
        {"empty request", "", ""},
    };
    // One option through the whole table: each answer reflects the requests
    // before it, as one client's session would.
    TVaComPortOption option;
    for (const Exchange& exchange : exchanges) {
        EXPECT_EQ(option.Handle(exchange.Request).Reply, exchange.Reply) << exchange.Name;
    }
    EXPECT_EQ(VaLineName(option.Line()), "19200 8N1.5");
}

TEST(ComPortOption, ReportsLineChangesPurgesAndSuspension) {
    TVaComPortOption option;
    EXPECT_EQ(VaLineName(option.Line()), "9600 7E2") << "the controller's line until set";
    EXPECT_FALSE(option.Handle(Bytes({2, 7})).LineChanged) << "the same value again";
    EXPECT_FALSE(option.Handle(Bytes({2, 0})).LineChanged) << "only asked";
    EXPECT_TRUE(option.Handle(Bytes({2, 8})).LineChanged);
    EXPECT_EQ(option.Handle(Bytes({12, 1})).Purge, TVaComPortOption::kPurgeReceive);
    EXPECT_EQ(option.Handle(Bytes({12, 2})).Purge, TVaComPortOption::kPurgeTransmit);
    option.Handle(Bytes({8}));
    EXPECT_TRUE(option.Suspended());
    option.Handle(Bytes({9}));
    EXPECT_FALSE(option.Suspended());
}

TEST(ComPortOption, ModemStateFollowsTheLinesWithinTheClientsMask) {
    struct Case {
        const char* Name;
        int Mask;                         // -1: the client never set one
        std::vector<std::string> Notices; // first off, then on, then on again, then off
    };
    const std::vector<Case> cases{
        {"default mask", -1, {Bytes({107, 0}), Bytes({107, 0xbb}), "", Bytes({107, 0x0b})}},
        {"states only", 0xf0, {Bytes({107, 0}), Bytes({107, 0xb0}), "", Bytes({107, 0})}},
        {"DSR only", 0x20, {Bytes({107, 0}), Bytes({107, 0x20}), "", Bytes({107, 0})}},
        {"ring only", 0x40, {Bytes({107, 0}), "", "", ""}},
        {"nothing", 0, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        TVaComPortOption option;
        if (c.Mask >= 0) {
            option.Handle(Bytes({11, c.Mask}));
        }
        std::vector<std::string> notices;
        for (const bool on : {false, true, true, false}) {
            notices.push_back(option.ModemStateChange(on));
        }
        EXPECT_EQ(notices, c.Notices) << c.Name;
    }
}

} // namespace
