#pragma once

#include "ZapisLacza.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// A row of the line as text: for the monitor's table, its clipboard and its
// file. No widgets here, so the texts are tested on their own.
namespace hostlink {

// The characters with the invisible ones made visible: CR as "⏎", other
// control characters and bytes outside ASCII as \xNN, "\" itself as "\\".
std::string WidocznaRamka(std::string_view ramka);

// Thousands grouped with a space, as Polish writes them: 65 536.
std::string LiczbaZGrupami(std::size_t liczba);

enum Kolumna : std::size_t {
    KolumnaCzas,
    KolumnaKierunek,
    KolumnaRamka,
    KolumnaZnaczenie,
    KolumnaFcs,
    KolumnaOpoznienie,
    KolumnaPowod,
    LiczbaKolumn,
};

// Column headings, in the order of Kolumna.
const std::array<std::string_view, LiczbaKolumn>& NaglowkiKolumn();

// The row's cells: time in ms, "→" / "←" (nothing for a line event), the
// visible frame, its meaning, "computed = sent" or "computed ≠ sent", the
// latency in ms and the reason.
std::array<std::string, LiczbaKolumn> KomorkiWpisu(const WpisLacza& wpis);

// The cells joined by tabs, without a line end.
std::string WierszTekstowy(const WpisLacza& wpis);

} // namespace hostlink
