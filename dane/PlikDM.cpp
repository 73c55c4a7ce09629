#include "dane/PlikDM.h"

#include "engine/BladPliku.h"
#include "engine/CzytnikLinii.h"
#include "engine/Funkcje.h"
#include "engine/ZapisPliku.h"

#include <charconv>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

std::int32_t LiczbaZWierszaDM(std::string_view tekst) {
    std::string_view s = tekst;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
    }
    std::int32_t wynik = 0;
    const auto [koniec, blad] = std::from_chars(s.data(), s.data() + s.size(), wynik);
    if (s.empty() || blad != std::errc{} || koniec != s.data() + s.size()) {
        throw std::invalid_argument(plc::TekstBleduKonwersji(tekst));
    }
    return wynik;
}

void OdczytDM(const std::filesystem::path& plik, bool podtrzymanie, plc::Pamiec& pamiec) {
    plc::CzytnikLinii czytnik(plik);
    std::vector<std::int32_t> slowa;
    std::string linia;
    while (podtrzymanie && slowa.size() < plc::LiczbaDM && czytnik.nastepna(linia)) {
        try {
            slowa.push_back(LiczbaZWierszaDM(linia));
        } catch (const std::invalid_argument& blad) {
            throw std::invalid_argument(
                plc::ZWierszem(blad.what(), plik, static_cast<int>(slowa.size()) + 1));
        }
    }
    // The file is there, so a temporary file beside it is only what a save
    // killed half way left.
    plc::UsunPozostalyTymczasowy(plik);
    for (std::size_t k = 0; k < slowa.size(); ++k) {
        pamiec.DM[k].store(slowa[k], std::memory_order_relaxed);
    }
}

void ZapisDM(const std::filesystem::path& plik, const plc::Pamiec& pamiec) {
    std::string tekst;
    for (int k = 0; k < SlowaPlikuDM; ++k) {
        tekst +=
            std::to_string(pamiec.DM[static_cast<std::size_t>(k)].load(std::memory_order_relaxed)) +
            "\r\n";
    }
    plc::ZapiszAtomowo(plik, tekst);
}

std::uintmax_t DlugoscPliku(const std::filesystem::path& plik) {
    std::error_code blad;
    const auto dlugosc = std::filesystem::file_size(plik, blad);
    return blad ? 0 : dlugosc;
}
