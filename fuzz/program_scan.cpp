// Arbitrary program tables, short entries included, scanned a few times with
// inputs and time changing between scans: no word may make the interpreter
// read or write outside the table or the memory areas.
#include "engine/CyklPracy.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

class BezLamp : public plc::WyjsciaSterownika {
public:
    void ZapalWyjscia(int) override {}
    void ZgasWyjscia(int) override {}
    void BladProgramu() override {}
};

// Characters that make mostly decodable words, so the fuzzer reaches deep
// into the instructions, with a few that are not.
constexpr std::string_view Znaki = "0123456789ABCDEF0123456789ABCDEFabZ ";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    auto pamiec = std::make_unique<plc::Pamiec>();
    plc::TabelaProgramu tabela;
    std::size_t i = 0;
    const auto bajt = [&]() -> std::uint8_t { return i < rozmiar ? dane[i++] : 0; };

    const std::uint8_t linie = bajt();
    for (int k = 0; k < plc::RozmiarTabeli && i < rozmiar; ++k) {
        // Two bits of the first byte: a word of 4 characters mostly, 0-3 sometimes.
        const std::uint8_t naglowek = bajt();
        const int dlugosc = (naglowek & 0x3) == 0 ? (naglowek >> 2) % 4 : 4;
        char slowo[4]{};
        for (int z = 0; z < dlugosc; ++z) {
            slowo[z] = Znaki[bajt() % Znaki.size()];
        }
        tabela.ustaw(k, std::string_view(slowo, static_cast<std::size_t>(dlugosc)));
    }
    tabela.ustawLiczbeLinii(linie);

    std::uint32_t czas = 0xFFFF'F000u; // wraps during the run
    BezLamp lampy;
    plc::TCyklPracy cykl(
        *pamiec, tabela, [&czas] { return czas; }, lampy);
    pamiec->IR.ustaw(253, 15, 1);
    pamiec->DM[100] = -3;
    pamiec->DM[101] = 2'000'000'000;
    for (int skan = 0; skan < 8; ++skan) {
        for (int n = 0; n < 9; ++n) {
            pamiec->IR.ustaw(0, n, static_cast<std::uint8_t>((skan >> (n % 3)) & 1));
        }
        czas += 37u * static_cast<std::uint32_t>(skan + 1);
        if (!cykl.Przebieg()) {
            break;
        }
    }
    return 0;
}
