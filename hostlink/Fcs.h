#pragma once

#include <string>
#include <string_view>

namespace hostlink {

// The frame check sequence: the exclusive OR of every character of the text,
// as two uppercase hexadecimal digits, high nibble first.
std::string FCS(std::string_view tekst);

// The text with its FCS, "*" and CR: the last frame of a response.
std::string RamkaKoncowa(std::string_view tekst);
// The text with its FCS and CR alone: a frame that further frames follow.
std::string RamkaPosrednia(std::string_view tekst);

} // namespace hostlink
