#include "Funkcje.h"

#include "MapaAdresow.h"

#include <algorithm>
#include <initializer_list>

namespace plc {

namespace {

[[noreturn]] void NieLiczba(std::string_view tekst) {
    throw BladKonwersji(TekstBleduKonwersji(tekst));
}

} // namespace

std::string TekstBleduKonwersji(std::string_view tekst) {
    return "'" + std::string(tekst) + "' is not a valid integer value";
}

int LiczbaSzesnastkowa(std::string_view tekst) {
    if (tekst.empty() || tekst.size() > 8) {
        NieLiczba("$" + std::string(tekst));
    }
    std::uint32_t wynik = 0;
    for (const char znak : tekst) {
        const int cyfra = CyfraSzesnastkowa(znak);
        if (cyfra < 0) {
            NieLiczba("$" + std::string(tekst));
        }
        wynik = wynik * 16 + static_cast<std::uint32_t>(cyfra);
    }
    return static_cast<int>(wynik);
}

int LiczbaDziesietna(std::string_view tekst) {
    if (tekst.empty() || tekst.size() > 9) {
        NieLiczba(tekst);
    }
    int wynik = 0;
    for (const char znak : tekst) {
        if (znak < '0' || znak > '9') {
            NieLiczba(tekst);
        }
        wynik = wynik * 10 + (znak - '0');
    }
    return wynik;
}

AdresOperandu DekodujAdres(std::string_view slowo) {
    const int obszar = LiczbaSzesnastkowa(slowo.substr(0, 2));
    const int bajt = LiczbaSzesnastkowa(slowo.substr(std::min<std::size_t>(2, slowo.size()), 2));
    const int polowa = bajt / 2;
    switch (obszar) {
    case 0x00:
        return {RodzajAdresu::HR, polowa};
    case 0x01:
        return {RodzajAdresu::IR, polowa};
    case 0x02:
        return {RodzajAdresu::IR, 128 + polowa};
    case 0x03:
        return {RodzajAdresu::HR, 128 + polowa};
    case 0x04:
        return {RodzajAdresu::WartoscTC, polowa};
    case 0x08:
        return {RodzajAdresu::StatusTC, polowa};
    default:
        break;
    }
    if (obszar >= 0x0C && obszar <= 0x13) {
        return {RodzajAdresu::DM, (obszar - 0x0C) * 128 + PolowaDoParzystej(bajt)};
    }
    return {RodzajAdresu::Brak, 0};
}

int NumerBitu(int cyfra) {
    return cyfra ^ 8;
}

int AdresKanalu(std::string_view slowo, bool forma4) {
    if (forma4) {
        return LiczbaSzesnastkowa(slowo.substr(std::min<std::size_t>(1, slowo.size()), 2));
    }
    const AdresOperandu adres = DekodujAdres(slowo);
    return adres.rodzaj == RodzajAdresu::Brak ? -1 : adres.numer;
}

int WagaBitu(int bit) {
    int waga = 1 << (bit % 4);
    for (int i = 0; i < bit / 4; ++i) {
        waga *= 10;
    }
    return waga;
}

int WartoscKanalu(const ObszarBitowy& obszar, int kanal) {
    int suma = 0;
    for (int b = 0; b < BitowNaKanal; ++b) {
        if (obszar.bit(kanal, b) != 0) {
            suma += WagaBitu(b);
        }
    }
    return suma;
}

void ZapisLiczby(ObszarBitowy& obszar, int kanal, std::string_view cyfry) {
    for (const char znak : cyfry) {
        if (znak < '0' || znak > '9') {
            NieLiczba(std::string_view(&znak, 1));
        }
    }
    if (cyfry.size() > 4) {
        cyfry.remove_prefix(cyfry.size() - 4);
    }
    unsigned wzor = 0;
    for (const char znak : cyfry) {
        wzor = (wzor << 4) | static_cast<unsigned>(znak - '0');
    }
    for (int b = 0; b < BitowNaKanal; ++b) {
        obszar.ustaw(kanal, b, static_cast<std::uint8_t>((wzor >> b) & 1u));
    }
}

std::uint8_t ZnakNaBit(char znak) {
    return znak == '1' ? 1 : 0;
}

char BitNaZnak(std::uint8_t bit) {
    return bit != 0 ? '1' : '0';
}

void Porownanie(Pamiec& pamiec, std::int32_t a, std::int32_t b) {
    pamiec.IR.ustaw(Wiekszy, a > b ? 1 : 0);
    pamiec.IR.ustaw(Rowny, a == b ? 1 : 0);
    pamiec.IR.ustaw(Mniejszy, a < b ? 1 : 0);
}

void ZerujFlagiPorownania(Pamiec& pamiec) noexcept {
    for (const AdresBitu flaga : {Wiekszy, Rowny, Mniejszy}) {
        pamiec.IR.ustaw(flaga, 0);
    }
}

std::uint8_t ObrotWPrawo(ObszarBitowy& obszar, int kanal) {
    const std::uint8_t wypchniety = obszar.bit(kanal, 0);
    for (int b = 0; b < BitowNaKanal - 1; ++b) {
        obszar.ustaw(kanal, b, obszar.bit(kanal, b + 1));
    }
    obszar.ustaw(kanal, BitowNaKanal - 1, wypchniety);
    return wypchniety;
}

std::uint8_t ObrotWLewo(ObszarBitowy& obszar, int kanal) {
    const std::uint8_t wypchniety = obszar.bit(kanal, BitowNaKanal - 1);
    for (int b = BitowNaKanal - 1; b > 0; --b) {
        obszar.ustaw(kanal, b, obszar.bit(kanal, b - 1));
    }
    obszar.ustaw(kanal, 0, wypchniety);
    return wypchniety;
}

void UstawKasuj(ObszarBitowy& obszar, int kanal, int bit, std::uint8_t ustaw, std::uint8_t kasuj) {
    if (ustaw != 0 || obszar.bit(kanal, bit) != 0) {
        obszar.ustaw(kanal, bit, 1);
    }
    if (kasuj != 0) {
        obszar.ustaw(kanal, bit, 0);
    }
}

} // namespace plc
