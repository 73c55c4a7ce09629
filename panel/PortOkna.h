#pragma once

#include "hostlink/Interfejsy.h"
#include "serial/VaComm.h"

// The host link's view of ComPort.
class PortOkna : public hostlink::PortLacza {
public:
    explicit PortOkna(TVaCustomComm& port) : port_(port) {}
    std::string ReadText() override { return port_.ReadText(); }
    void WriteText(std::string_view tekst) override { port_.WriteText(tekst); }

private:
    TVaCustomComm& port_;
};
