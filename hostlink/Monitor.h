#pragma once

#include "engine/Pamiec.h"

#include <string>
#include <string_view>

namespace hostlink {

// The reply to a monitor read "3084": the count from positions 10-11 and the
// operand words from position 15 on, each answered from the memory areas as
// they are at this moment. Throws plc::BladKonwersji when the count or an item
// is not hexadecimal; nothing is sent then.
std::string OdpowiedzMonitora(std::string_view ramka, const plc::Pamiec& pamiec);

} // namespace hostlink
