#pragma once

#include <cstdint>
#include <string>

namespace hostlink {

// The port's line-error bits in words: "parzystość, ramka".
std::string OpisBledowLinii(std::uint32_t bledy);

} // namespace hostlink
