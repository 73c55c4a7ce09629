// Arbitrary program tables run for a few scans with inputs and time changing
// between scans. No word, however short or strange, may make the interpreter
// read or write outside the table or the memory areas, leave a bit that is
// neither 0 nor 1, or skip the end-of-scan steps of a pass that succeeded.
//
// Input: the line count, a scan byte (bits 0-2: scans - 1, bits 3-7: clock
// step), an input-switch pattern, then up to 256 words, each a header byte
// and its characters. Header bits 0-2 give the length (0-4; 5-7 count as 4);
// bit 3 clear takes the characters as they are (every byte value), bit 3 set
// maps each byte onto a hexadecimal digit, so that the fuzzer also reaches
// deep into instructions whose words must be all digits.
#include "engine/CyklPracy.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

[[noreturn]] void Niezmiennik(const char* opis) {
    std::fprintf(stderr, "invariant broken: %s\n", opis);
    std::abort();
}

class Lampy : public plc::WyjsciaSterownika {
public:
    void ZapalWyjscia(int n) override { Sprawdz(n); }
    void ZgasWyjscia(int n) override { Sprawdz(n); }
    void BladProgramu() override {}

private:
    static void Sprawdz(int n) {
        if (n < 0 || n > 8) {
            Niezmiennik("output lamp number outside 0-8");
        }
    }
};

class Wejscie {
public:
    Wejscie(const std::uint8_t* dane, std::size_t rozmiar) : dane_(dane), rozmiar_(rozmiar) {}
    bool koniec() const { return i_ >= rozmiar_; }
    std::uint8_t bajt() { return i_ < rozmiar_ ? dane_[i_++] : 0; }

private:
    const std::uint8_t* dane_;
    std::size_t rozmiar_;
    std::size_t i_ = 0;
};

constexpr std::string_view Szesnastkowe = "0123456789ABCDEF";

void SprawdzBity(const plc::ObszarBitowy& obszar, const char* opis) {
    for (int kanal = 0; kanal < plc::LiczbaKanalow; ++kanal) {
        for (int bit = 0; bit < plc::BitowNaKanal; ++bit) {
            if (obszar.bit(kanal, bit) > 1) {
                Niezmiennik(opis);
            }
        }
    }
}

void SprawdzPamiec(const plc::Pamiec& pamiec) {
    SprawdzBity(pamiec.IR, "IR/SR bit neither 0 nor 1");
    SprawdzBity(pamiec.HR, "HR/AR/LR bit neither 0 nor 1");
    for (const auto& tr : pamiec.TR) {
        if (tr.load() > 1) {
            Niezmiennik("TR bit neither 0 nor 1");
        }
    }
    for (const auto& zbocze : pamiec.zbocza) {
        if (zbocze.load() > 1) {
            Niezmiennik("edge flag neither 0 nor 1");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    Wejscie wejscie(dane, rozmiar);
    const std::uint8_t linie = wejscie.bajt();
    const std::uint8_t skany = wejscie.bajt();
    const std::uint8_t przelaczniki = wejscie.bajt();

    plc::TabelaProgramu tabela;
    for (int k = 0; k < plc::RozmiarTabeli && !wejscie.koniec(); ++k) {
        const std::uint8_t naglowek = wejscie.bajt();
        const int dlugosc = (naglowek & 0x7) > 4 ? 4 : (naglowek & 0x7);
        char slowo[4]{};
        for (int z = 0; z < dlugosc; ++z) {
            const std::uint8_t znak = wejscie.bajt();
            slowo[z] = (naglowek & 0x8) != 0 ? Szesnastkowe[znak & 0xF] : static_cast<char>(znak);
        }
        tabela.ustaw(k, std::string_view(slowo, static_cast<std::size_t>(dlugosc)));
    }
    tabela.ustawLiczbeLinii(linie);

    auto pamiec = std::make_unique<plc::Pamiec>();
    pamiec->resetZalaczenia();
    // Values at the edges of what the word instructions handle.
    pamiec->DM[0] = 9999;
    pamiec->DM[100] = -3;
    pamiec->DM[101] = 2'000'000'000;
    pamiec->DM[1023] = -2'147'483'647 - 1;
    pamiec->TC[5].ustawWartosc(-1);

    // The clock wraps during the run.
    std::uint32_t czas = 0xFFFF'FF00u;
    const std::uint32_t krok = 1u + 7u * static_cast<std::uint32_t>(skany >> 3);
    Lampy lampy;
    plc::TCyklPracy cykl(
        *pamiec, tabela, [&czas] { return czas; }, lampy);

    pamiec->IR.ustaw(253, 15, 1); // the mode entry's first-scan flag
    const int ileSkanow = 1 + (skany & 0x7);
    for (int skan = 0; skan < ileSkanow; ++skan) {
        for (int n = 0; n < 9; ++n) {
            pamiec->IR.ustaw(0, n,
                             static_cast<std::uint8_t>((przelaczniki >> ((n + skan) % 8)) & 1));
        }
        czas += krok;
        if (!cykl.Przebieg()) {
            break;
        }
        if (pamiec->IR.bit(253, 15) != 0) {
            Niezmiennik("first-scan flag still set after a pass");
        }
        for (int bit = 5; bit <= 7; ++bit) {
            if (pamiec->IR.bit(255, bit) != 0) {
                Niezmiennik("comparison flag still set after a pass");
            }
        }
    }
    SprawdzPamiec(*pamiec);
    return 0;
}
