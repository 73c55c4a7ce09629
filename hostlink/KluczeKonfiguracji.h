#pragma once

// Sections and keys of the options file, Konfiguracja.ini: read by the host
// link and by the front panel, written by the options dialog. Each name is
// written once, so a misspelt copy cannot quietly read its default instead.

#include <string_view>

namespace hostlink::klucze {

inline constexpr std::string_view OpcjeOkna = "Opcje okna";
inline constexpr std::string_view ZawszeNaWierzchu = "ZawszeNaWierzchu";
inline constexpr std::string_view Dzwieki = "Dzwieki";
inline constexpr std::string_view Komunikacja = "Komunikacja";
inline constexpr std::string_view NumerPortu = "Numer portu";

inline constexpr std::string_view OpcjeProgramu = "Opcje programu";
inline constexpr std::string_view PodtrzymanieLHA = "Podtrzymanie LR,HR,AR";
inline constexpr std::string_view PodtrzymanieDM = "Podtrzymanie DM";
inline constexpr std::string_view Program = "Program";
inline constexpr std::string_view Monitor = "Monitor";
inline constexpr std::string_view Run = "Run";

inline constexpr std::string_view ModelSterownika = "Model sterownika";
inline constexpr std::string_view CPU = "CPU";

} // namespace hostlink::klucze
