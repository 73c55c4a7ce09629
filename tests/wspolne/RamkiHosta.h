#pragma once

// Frames as the programming software sends them, and the replies it gets
// most often.

#include "hostlink/Fcs.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace hostlink::test {

inline const std::string Potwierdzenie = "@00MB000400004B*\r";
inline const std::string StatusProgram = "@00MB00110000010E01000000000000000000003A*\r";
inline const std::string StatusMonitor = "@00MB00110000020E010000000000000000000039*\r";
inline const std::string StatusRun = "@00MB00110000040E01000000000000000000003F*\r";

// Distinct words that are valid for the upload's summary: "C" and three hex digits.
inline std::vector<std::string> Slowa(int ile) {
    std::vector<std::string> slowa;
    for (int i = 0; i < ile; ++i) {
        char tekst[16];
        std::snprintf(tekst, sizeof tekst, "C%03X", static_cast<unsigned>(i) & 0xFFFU);
        slowa.emplace_back(tekst);
    }
    return slowa;
}

inline std::string Zlacz(const std::vector<std::string>& slowa, std::size_t od, std::size_t ile) {
    std::string tekst;
    for (std::size_t i = od; i < od + ile && i < slowa.size(); ++i) {
        tekst += slowa[i];
    }
    return tekst;
}

// The download of these words, n the count as two hexadecimal characters:
// a first frame with up to 23 words, then continuation frames of up to 31;
// all but the last end in CR alone.
inline std::vector<std::string> RamkiPobierania(const std::vector<std::string>& slowa,
                                                std::string_view n) {
    std::vector<std::string> ramki;
    std::string tekst = "@00MB1286" + std::string(n) + "0000000" + Zlacz(slowa, 0, 23);
    for (std::size_t wyslane = 23; wyslane < slowa.size(); wyslane += 31) {
        ramki.push_back(RamkaPosrednia(tekst));
        tekst = Zlacz(slowa, wyslane, 31);
    }
    ramki.push_back(RamkaKoncowa(tekst));
    return ramki;
}

} // namespace hostlink::test
