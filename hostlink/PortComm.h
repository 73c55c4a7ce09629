#pragma once

#include "Interfejsy.h"

#include "serial/VaComm.h"

namespace hostlink {

// The host link's view of ComPort. A reply the port cannot queue raises the
// port's error, which ends the frame's handling; otherwise WriteText's result
// is not examined.
class PortComm : public PortLacza {
public:
    explicit PortComm(TVaComm& port) : port_(port) {}

    std::string ReadText() override;
    void WriteText(std::string_view tekst) override;

private:
    TVaComm& port_;
};

} // namespace hostlink
