#include "OpisWpisu.h"

#include "Tekst.h"

#include <cstdio>

namespace hostlink {

std::string WidocznaRamka(std::string_view ramka) {
    std::string wynik;
    wynik.reserve(ramka.size() + 8);
    for (const char znak : ramka) {
        const auto bajt = static_cast<unsigned char>(znak);
        if (znak == '\r') {
            wynik += "⏎";
        } else if (znak == '\\') {
            wynik += "\\\\";
        } else if (bajt < 0x20 || bajt >= 0x7F) {
            wynik += "\\x";
            DopiszSzesnastkowo(wynik, bajt, 2);
        } else {
            wynik += znak;
        }
    }
    return wynik;
}

std::string LiczbaZGrupami(std::size_t liczba) {
    const std::string cyfry = std::to_string(liczba);
    std::string wynik;
    for (std::size_t i = 0; i < cyfry.size(); ++i) {
        if (i > 0 && (cyfry.size() - i) % 3 == 0) {
            wynik += ' ';
        }
        wynik += cyfry[i];
    }
    return wynik;
}

const std::array<std::string_view, LiczbaKolumn>& NaglowkiKolumn() {
    static constexpr std::array<std::string_view, LiczbaKolumn> naglowki{
        "Czas [ms]",       "",     "Ramka", "Znaczenie", "FCS (obliczona / przesłana)",
        "Opóźnienie [ms]", "Uwagi"};
    return naglowki;
}

namespace {

// Milliseconds with three decimals and a decimal comma.
std::string Milisekundy(std::int64_t us) {
    char tekst[32];
    std::snprintf(tekst, sizeof tekst, "%lld,%03lld", static_cast<long long>(us / 1000),
                  static_cast<long long>(us % 1000));
    return tekst;
}

std::string_view Strzalka(Kierunek kierunek) {
    switch (kierunek) {
    case Kierunek::Odebrana:
        return "→";
    case Kierunek::Wyslana:
        return "←";
    case Kierunek::Linia:
        break;
    }
    return "";
}

} // namespace

std::array<std::string, LiczbaKolumn> KomorkiWpisu(const WpisLacza& wpis) {
    std::array<std::string, LiczbaKolumn> komorki;
    komorki[KolumnaCzas] = std::to_string(wpis.czas_us / 1000);
    komorki[KolumnaKierunek] = Strzalka(wpis.kierunek);
    komorki[KolumnaRamka] = WidocznaRamka(wpis.ramka);
    if (wpis.ucieta) {
        komorki[KolumnaRamka] += "…";
    }
    komorki[KolumnaZnaczenie] = wpis.znaczenie;
    if (!wpis.fcsObliczona.empty()) {
        komorki[KolumnaFcs] =
            wpis.fcsObliczona + (wpis.FcsRozna() ? " ≠ " : " = ") + wpis.fcsPrzeslana;
    }
    if (wpis.opoznienie_us >= 0) {
        komorki[KolumnaOpoznienie] = Milisekundy(wpis.opoznienie_us);
    }
    komorki[KolumnaPowod] = wpis.powod;
    return komorki;
}

std::string WierszTekstowy(const WpisLacza& wpis) {
    const auto komorki = KomorkiWpisu(wpis);
    std::string wiersz = komorki[0];
    for (std::size_t i = 1; i < komorki.size(); ++i) {
        wiersz += '\t';
        wiersz += komorki[i];
    }
    return wiersz;
}

} // namespace hostlink
