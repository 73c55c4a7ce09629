#pragma once

#include "engine/TabelaProgramu.h"

#include <cstddef>
#include <string>
#include <vector>

namespace plc::bench {

// Fills the table with rungs taken in turn until the next one would not fit,
// then with AND words up to exactly 255 words.
inline void Wypelnij(TabelaProgramu& tabela,
                     const std::vector<std::vector<std::string>>& szczeble) {
    tabela.wyczysc();
    int k = 0;
    for (std::size_t i = 0;; ++i) {
        const auto& szczebel = szczeble[i % szczeble.size()];
        if (k + static_cast<int>(szczebel.size()) > RozmiarTabeli - 1) {
            break;
        }
        for (const std::string& slowo : szczebel) {
            tabela.ustaw(k++, slowo);
        }
    }
    // An LD first, so the ANDs after it have a rung to work on.
    if (k < RozmiarTabeli - 1) {
        tabela.ustaw(k++, "8008");
    }
    while (k < RozmiarTabeli - 1) {
        tabela.ustaw(k++, "C009");
    }
    tabela.ustawLiczbeLinii(static_cast<std::uint8_t>(k));
}

// Relay logic only: loads, ANDs and ORs with negations, blocks, OUT and
// OUT NOT, SET, RESET and KEEP in both areas, rising and falling pulses.
inline const std::vector<std::vector<std::string>>& SzczebleStykowe() {
    static const std::vector<std::vector<std::string>> szczeble = {
        {"8008", "E009", "400A", "20A8", "80A8"},
        {"8009", "A00A", "1200", "C1F8", "20A9", "A0A9"},
        {"800B", "600C", "8008", "E00D", "1000", "20AA", "80AA"},
        {"8008", "205A", "1000"},
        {"8009", "205A", "3000"},
        {"800A", "800B", "20AB", "C000"},
        {"800C", "800D", "307A", "D000"},
        {"8008", "1C0D", "0148"},
        {"8009", "1C0E", "0149"},
        {"8FF8", "2FF1", "8FF1", "C00A", "20AC", "80AC"},
        {"8FD5", "E1F9", "CFD6", "6148", "20AD", "80AD"},
    };
    return szczeble;
}

// Word instructions among relay logic: timers (constant and word set values),
// counters, compares, moves, increments, decrements and rotates.
inline const std::vector<std::vector<std::string>>& SzczebleMieszane() {
    static const std::vector<std::vector<std::string>> szczeble = {
        {"8008", "0800", "0030"},
        {"9000", "E009", "20A8", "80A8"},
        {"8008", "8009", "0A01", "0005"},
        {"8009", "0C02", "0CC8"},
        {"8FD5", "1C04", "0114", "0125"},
        {"8FD5", "1E04", "0CC8", "0404"},
        {"8FD5", "1A05", "0042", "0C0A"},
        {"8FD5", "1E05", "0CC8", "0120"},
        {"8008", "1C26", "0C14"},
        {"8009", "1CA7", "0122"},
        {"8FD5", "1C1B", "0124"},
        {"8008", "1C9C", "0C1E"},
        {"800A", "E00B", "400C", "20A9", "80A9"},
        {"8008", "205A", "1000"},
        {"8009", "1C0D", "0148"},
    };
    return szczeble;
}

} // namespace plc::bench
