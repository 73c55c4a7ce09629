#pragma once

#include "serial/VaComm.h"

#include "tests/wspolne/PtyPair.h"

#include <gtest/gtest.h>

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
