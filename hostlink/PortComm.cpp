#include "PortComm.h"

namespace hostlink {

std::string PortComm::ReadText() {
    return port_.ReadText();
}

void PortComm::WriteText(std::string_view tekst) {
    static_cast<void>(port_.WriteText(tekst));
}

} // namespace hostlink
