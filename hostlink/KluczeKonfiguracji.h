#pragma once

// Sections, keys and defaults of the options file, Konfiguracja.ini: read by
// the host link and by the front panel, written by the options dialog. Each
// name and each default is written once, so a misspelt copy cannot quietly
// read its default instead, and two readers cannot disagree on a default.

#include <string_view>

namespace hostlink {

namespace klucze {

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

} // namespace klucze

// One option: where it lives and what a missing file, section or key gives.
template <typename T> struct Opcja {
    std::string_view sekcja;
    std::string_view klucz;
    T domyslnie;
};

namespace opcje {

inline constexpr Opcja<bool> ZawszeNaWierzchu{klucze::OpcjeOkna, klucze::ZawszeNaWierzchu, true};
inline constexpr Opcja<bool> Dzwieki{klucze::OpcjeOkna, klucze::Dzwieki, false};
// Set: the simulator runs without the serial port ("Brak obsługi portu szeregowego").
inline constexpr Opcja<bool> Komunikacja{klucze::OpcjeOkna, klucze::Komunikacja, false};
// 1: COM 1, 2: COM 2.
inline constexpr Opcja<int> NumerPortu{klucze::OpcjeOkna, klucze::NumerPortu, 2};

inline constexpr Opcja<bool> PodtrzymanieLHA{klucze::OpcjeProgramu, klucze::PodtrzymanieLHA, true};
inline constexpr Opcja<bool> PodtrzymanieDM{klucze::OpcjeProgramu, klucze::PodtrzymanieDM, false};
// The start modes: the first that is set wins, in this order.
inline constexpr Opcja<bool> Program{klucze::OpcjeProgramu, klucze::Program, true};
inline constexpr Opcja<bool> Monitor{klucze::OpcjeProgramu, klucze::Monitor, false};
inline constexpr Opcja<bool> Run{klucze::OpcjeProgramu, klucze::Run, false};

// 1-3: CPU 10, CPU 20, CPU 30.
inline constexpr Opcja<int> CPU{klucze::ModelSterownika, klucze::CPU, 1};

} // namespace opcje

} // namespace hostlink
