#pragma once

#include "Funkcje.h"
#include "TabelaProgramu.h"

#include <algorithm>
#include <string>

// Reading the characters of a program word. Positions count from 0; a
// position past the end of a short entry is a decode failure like a
// character that is no digit.
namespace plc::dekodowanie {

[[noreturn]] inline void Blad(const SlowoProgramu& slowo, int od, int ile) {
    const std::string_view tekst = slowo.tekst();
    const std::size_t poczatek = std::min<std::size_t>(static_cast<std::size_t>(od), tekst.size());
    throw BladKonwersji(TekstBleduKonwersji(
        "$" + std::string(tekst.substr(poczatek, static_cast<std::size_t>(ile)))));
}

inline int Cyfra(const SlowoProgramu& slowo, int pozycja) {
    if (pozycja < slowo.dlugosc) {
        const int cyfra = CyfraSzesnastkowa(slowo.znaki[pozycja]);
        if (cyfra >= 0) {
            return cyfra;
        }
    }
    Blad(slowo, pozycja, 1);
}

// Two characters from the position on as one hexadecimal byte.
inline int Bajt(const SlowoProgramu& slowo, int pozycja) {
    if (pozycja + 1 < slowo.dlugosc) {
        const int starsza = CyfraSzesnastkowa(slowo.znaki[pozycja]);
        const int mlodsza = CyfraSzesnastkowa(slowo.znaki[pozycja + 1]);
        if (starsza >= 0 && mlodsza >= 0) {
            return starsza * 16 + mlodsza;
        }
    }
    Blad(slowo, pozycja, 2);
}

// The first character of an action word, -1 when it is missing or no digit:
// an action that no instruction knows.
inline int Akcja(const SlowoProgramu& slowo) noexcept {
    return slowo.dlugosc > 0 ? CyfraSzesnastkowa(slowo.znaki[0]) : -1;
}

} // namespace plc::dekodowanie
