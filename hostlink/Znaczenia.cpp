#include "Znaczenia.h"

#include "OpisWpisu.h"
#include "RamkiStale.h"
#include "Tekst.h"
#include "engine/Funkcje.h"

namespace hostlink {

namespace {

std::string ZmianaTrybu(std::string_view tryb) {
    if (tryb == "0004") {
        return "zmiana trybu → RUN";
    }
    if (tryb == "0002") {
        return "zmiana trybu → MONITOR";
    }
    if (tryb == "0001") {
        return "zmiana trybu → PROGRAM";
    }
    return "zmiana trybu";
}

std::string Monitor(std::string_view ramka) {
    try {
        const int liczba = plc::PolowaDoParzystej(plc::LiczbaSzesnastkowa(Fragment(ramka, 10, 2)));
        return "monitor: " +
               Odmiana(static_cast<std::size_t>(liczba), "pozycja", "pozycje", "pozycji");
    } catch (const plc::BladKonwersji&) {
        return "monitor";
    }
}

std::string PolecenieMB(std::string_view kod, std::string_view ramka) {
    if (kod == "3084") {
        return Monitor(ramka);
    }
    if (kod == "1A03") {
        return "odczyt statusu";
    }
    if (kod == "2D04") {
        return "identyfikacja CPU";
    }
    if (kod == "0404") {
        return ZmianaTrybu(Fragment(ramka, 10, 4));
    }
    if (kod == "1286") {
        return "wgrywanie programu, ramka 1";
    }
    if (kod == "1107") {
        return "odczyt programu, ramka 1";
    }
    if (kod == "5E9E" || kod == "4B86" || kod == "4A07") {
        return "zapytanie " + std::string(kod) + ", ramka 1";
    }
    if (kod == "1604" || kod == "1006" || kod == "4103" || kod == "5208" || kod == "0703") {
        return "zapytanie " + std::string(kod);
    }
    return "polecenie MB " + std::string(kod);
}

} // namespace

std::string Odmiana(std::size_t liczba, std::string_view jedna, std::string_view kilka,
                    std::string_view wiele) {
    const std::size_t jednosci = liczba % 10;
    const std::size_t setki = liczba % 100;
    std::string_view slowo = wiele;
    if (liczba == 1) {
        slowo = jedna;
    } else if (jednosci >= 2 && jednosci <= 4 && (setki < 12 || setki > 14)) {
        slowo = kilka;
    }
    std::string wynik = LiczbaZGrupami(liczba);
    wynik += ' ';
    wynik += slowo;
    return wynik;
}

std::string ZnaczenieRamki(std::string_view ramka) {
    if (ramka.empty()) {
        return {};
    }
    if (ramka.front() != '@') {
        return ramka == ramki::SamCR ? "pojedynczy CR" : "ramka bez @";
    }
    const std::string_view naglowek = Fragment(ramka, 4, 2);
    if (!naglowek.empty() && naglowek.front() == 'M') {
        return PolecenieMB(Fragment(ramka, 6, 4), ramka);
    }
    if (!naglowek.empty() && naglowek.front() == 'X') {
        return "przerwanie (XZ)";
    }
    return "polecenie " + WidocznaRamka(naglowek);
}

} // namespace hostlink
