#pragma once

#include "serial/VaComm.h"

#include "PtyPair.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A port set up as the program sets ComPort (9600 bits per second, 7 data
// bits, even parity with checking, 2 stop bits) on the slave of a pty pair.
class PortOnPty : public ::testing::Test {
protected:
    PortOnPty() {
        port.SetDeviceName(pty.SlavePath());
        port.SetBaudrate(br9600);
        port.SetParity(paEven);
        port.SetParityCheck(true);
        port.SetDatabits(db7);
        port.SetStopbits(sb2);
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
