#pragma once

#include "serial/VaComm.h"

#include "tests/wspolne/PtyPair.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The status request and the reply AnsweringPort gives to every frame.
inline const std::string kStatus = "@00MS5A*\r";
inline const std::string kReply = "@00MS0000000000000000000000*\r";

// A port set up as ComPort on COM1, which the resolver maps, answering every
// frame that ends in CR with kReply; the frames and the reports are kept.
class AnsweringPort : public ::testing::Test {
protected:
    explicit AnsweringPort(TVaResolver resolver) {
        port.SetDeviceName("COM1");
        port.SetResolver(std::move(resolver));
        SetControllerLine(port);
        port.RaportBledu = [this](const std::string& message) { reports.push_back(message); };
        port.OnRxChar = [this](TVaCustomComm& sender, std::int32_t) {
            gathered += sender.ReadText();
            if (gathered.ends_with('\r')) {
                frames.push_back(std::exchange(gathered, {}));
                sender.WriteText(kReply);
            }
        };
    }

    TVaComm port;
    std::string gathered;
    std::vector<std::string> frames;
    std::vector<std::string> reports;
};

// A port set up as the program sets ComPort, on the slave of a pty pair.
class PortOnPty : public ::testing::Test {
protected:
    PortOnPty() {
        port.SetDeviceName(pty.SlavePath());
        SetControllerLine(port);
        port.RaportBledu = [this](const std::string& message) { reports.push_back(message); };
    }

    // The message of the EVaCommError that the call raises, or "" if none.
    template <typename Call> static std::string FailureOf(Call&& call) {
        try {
            call();
        } catch (const EVaCommError& failure) {
            return failure.what();
        }
        return "";
    }

    PtyPair pty;
    TVaComm port;
    std::vector<std::string> reports;
};

// Writes until the write queue is full too, on a line whose other side does
// not read; false if it never filled.
inline bool FillUntilTheQueueIsFull(TVaComm& port) {
    port.Buffers().SetWriteTimeout(20);
    const std::string reply(1000, 'r');
    for (int i = 0; i < 1000; ++i) {
        try {
            port.WriteText(reply);
        } catch (const EVaCommError&) {
            return true;
        }
    }
    return false;
}

// With the other side gone, what was queued and what comes after is taken,
// and reading the status still works.
inline void ExpectTheLineTakesEverything(TVaComm& port) {
    port.Buffers().SetWriteTimeout(1000);
    EXPECT_NO_THROW(EXPECT_TRUE(port.WriteText(std::string(1000, 'r'))));
    RunEventsFor(std::chrono::milliseconds(100));
    EXPECT_NO_THROW(port.ReadStatus());
    for (int i = 0; i < 10; ++i) {
        EXPECT_NO_THROW(EXPECT_TRUE(port.WriteText(std::string(1000, 'r'))));
    }
    RunEventsFor(std::chrono::milliseconds(100));
}
