#pragma once

#include "serial/VaComm.h"

#include "tests/wspolne/PtyPair.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

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
