#include "CzytnikLinii.h"
#include "Pamiec.h"
#include "TabelaProgramu.h"
#include "ZapisPliku.h"

#include <string>
#include <vector>

namespace plc {

namespace {

// Lines 0 to 254 of the file, each cut to its first four characters.
std::vector<std::string> CzytajLinie(const std::filesystem::path& plik) {
    CzytnikLinii czytnik(plik);
    std::vector<std::string> linie;
    std::string linia;
    while (linie.size() < RozmiarTabeli - 1 && czytnik.nastepna(linia, 4)) {
        linie.push_back(linia);
    }
    return linie;
}

} // namespace

int ZapiszProgram(const TabelaProgramu& tabela, const std::filesystem::path& plik) {
    std::string tresc;
    int linie = 0;
    for (int k = 0; k < RozmiarTabeli; ++k) {
        const SlowoProgramu slowo = tabela.odczytaj(k);
        if (slowo.dlugosc > 0) {
            tresc.append(slowo.tekst());
            tresc.append("\r\n");
            ++linie;
        }
    }
    ZapiszAtomowo(plik, tresc);
    return linie;
}

void WczytajProgram(TabelaProgramu& tabela, Pamiec& pamiec, const std::filesystem::path& plik) {
    const std::vector<std::string> linie = CzytajLinie(plik);
    // The real file was read, so a temporary file beside it is only what a
    // write killed half way left.
    UsunPozostalyTymczasowy(plik);
    int niepuste = 0;
    for (int k = 0; k < RozmiarTabeli - 1; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        const std::string_view tekst = i < linie.size() ? std::string_view(linie[i]) : "";
        tabela.ustaw(k, tekst);
        if (tabela.odczytaj(k).dlugosc > 0) {
            ++niepuste;
        }
    }
    tabela.ustawLiczbeLinii(static_cast<std::uint8_t>(niepuste));
    for (auto& zbocze : pamiec.zbocza) {
        zbocze.store(0, std::memory_order_relaxed);
    }
    pamiec.resetZalaczenia();
}

} // namespace plc
