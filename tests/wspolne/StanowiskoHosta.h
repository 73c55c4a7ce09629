#pragma once

// A host link wired to fakes of the port, the front panel and the options,
// with the real memory, program table and scan worker, so frames go in and
// replies come out without a window.

#include "tests/wspolne/Atrapy.h"

#include "hostlink/Fcs.h"
#include "hostlink/LaczeHost.h"

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace hostlink::test {

struct Stanowisko {
    explicit Stanowisko(std::filesystem::path plik)
        : plikProgramu(std::move(plik)),
          lacze(pamiec, program, skan, panel, port, panel, konfiguracja, plikProgramu) {
        pamiec.resetZalaczenia();
    }

    // Delivers the characters as one received-characters event and returns
    // everything written in answer, joined.
    std::string Odbierz(std::string_view znaki) {
        const std::size_t przed = port.wyslane.size();
        port.doOdczytu += znaki;
        lacze.ReakcjaNaZnak();
        std::string odpowiedz;
        for (std::size_t i = przed; i < port.wyslane.size(); ++i) {
            odpowiedz += port.wyslane[i];
        }
        return odpowiedz;
    }

    std::filesystem::path plikProgramu;
    plc::Pamiec pamiec;
    plc::TabelaProgramu program;
    FakeWyjscia wyjscia;
    plc::TCyklPracy skan{pamiec, program, [] { return std::uint32_t{0}; }, wyjscia};
    FakePort port;
    FakePanel panel;
    FakeKonfiguracja konfiguracja;
    LaczeHost lacze;
};

// A command frame as the programming software sends it: text, FCS, "*", CR.
inline std::string Polecenie(std::string_view tekst) {
    return RamkaKoncowa(tekst);
}

inline std::vector<std::string> LiniePliku(const std::filesystem::path& plik) {
    std::ifstream wejscie(plik, std::ios::binary);
    std::vector<std::string> linie;
    std::string linia;
    while (std::getline(wejscie, linia)) {
        if (!linia.empty() && linia.back() == '\r') {
            linia.pop_back();
        }
        linie.push_back(linia);
    }
    return linie;
}

} // namespace hostlink::test
