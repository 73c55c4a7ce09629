#include "Monitor.h"

#include "Fcs.h"
#include "Tekst.h"
#include "engine/Funkcje.h"

#include <algorithm>
#include <cstdint>

namespace hostlink {

namespace {

constexpr int KanalPierwszegoCyklu = 253;
constexpr int KanalZegaraMinutowego = 254;
constexpr int KanalFlag = 255;

// At least the given number of uppercase hexadecimal digits, more where the
// value needs them.
void DopiszSzesnastkowo(std::string& cel, unsigned wartosc, int cyfr) {
    constexpr char znaki[] = "0123456789ABCDEF";
    char tekst[8];
    int dlugosc = 0;
    do {
        tekst[dlugosc++] = znaki[wartosc & 0x0F];
        wartosc >>= 4;
    } while (wartosc != 0 || dlugosc < cyfr);
    while (dlugosc > 0) {
        cel += tekst[--dlugosc];
    }
}

// The decimal text of a value, padded on the left with "0" to four characters
// (in front of a minus sign too); longer texts go as they are.
void DopiszDziesietnie(std::string& cel, std::int32_t wartosc) {
    const std::string tekst = std::to_string(wartosc);
    if (tekst.size() < 4) {
        cel.append(4 - tekst.size(), '0');
    }
    cel += tekst;
}

void DopiszKanal(std::string& cel, const plc::ObszarBitowy& obszar, int kanal) {
    const bool istnieje = kanal >= 0 && kanal < plc::LiczbaKanalow;
    DopiszSzesnastkowo(cel, istnieje ? obszar.slowo(kanal) : 0U, 4);
    cel += "0000";
}

// Channels 253-255 hold system bits; the programming software is shown what
// the controller itself reports for them, not the stored bits.
void DopiszKanalIR(std::string& cel, const plc::ObszarBitowy& ir, int kanal) {
    switch (kanal) {
    case KanalPierwszegoCyklu:
        cel += "20000000";
        return;
    case KanalZegaraMinutowego:
        cel += ir.bit(KanalZegaraMinutowego, 0) != 0 ? "00070000" : "00000000";
        return;
    case KanalFlag:
        cel += ir.bit(KanalFlag, 2) != 0 ? "00070000" : "00000000";
        return;
    default:
        DopiszKanal(cel, ir, kanal);
    }
}

// Words past DM 1023 (the operand word 13FF names DM 1024) read as 0.
std::int32_t SlowoDM(const plc::Pamiec& pamiec, int numer) {
    if (numer < 0 || numer >= plc::LiczbaDM) {
        return 0;
    }
    return pamiec.DM[static_cast<std::size_t>(numer)].load(std::memory_order_relaxed);
}

// The operand word form gives entries 0-127 only; anything else reads as 0.
const plc::PozycjaTC* PozycjaTC(const plc::Pamiec& pamiec, int numer) {
    if (numer < 0 || numer >= plc::LiczbaTC) {
        return nullptr;
    }
    return &pamiec.TC[static_cast<std::size_t>(numer)];
}

// Appends the item for one operand word; area codes without an item add nothing.
void DopiszPozycje(std::string& cel, std::string_view slowo, const plc::Pamiec& pamiec) {
    const int obszar = plc::LiczbaSzesnastkowa(Fragment(slowo, 1, 2));
    const int numer = plc::AdresKanalu(slowo, false);
    switch (obszar) {
    case 0x00:
    case 0x03:
        DopiszKanal(cel, pamiec.HR, numer);
        return;
    case 0x01:
    case 0x02:
        DopiszKanalIR(cel, pamiec.IR, numer);
        return;
    case 0x04:
        if (const plc::PozycjaTC* pozycja = PozycjaTC(pamiec, numer)) {
            DopiszDziesietnie(cel, pozycja->wartosc());
            cel += pozycja->status();
        } else {
            cel += "00000000";
        }
        return;
    case 0x08:
        if (const plc::PozycjaTC* pozycja = PozycjaTC(pamiec, numer)) {
            const std::string status = pozycja->status();
            cel += status;
            cel += status;
        } else {
            cel += "00000000";
        }
        return;
    default:
        if (obszar >= 0x0C && obszar <= 0x13) {
            DopiszDziesietnie(cel, SlowoDM(pamiec, numer));
            cel += "0000";
        }
    }
}

} // namespace

std::string OdpowiedzMonitora(std::string_view ramka, const plc::Pamiec& pamiec) {
    const int liczba =
        std::max(0, plc::PolowaDoParzystej(plc::LiczbaSzesnastkowa(Fragment(ramka, 10, 2))));

    std::string odpowiedz;
    odpowiedz.reserve(32 + 8 * static_cast<std::size_t>(liczba));
    odpowiedz += "@00MB0084";
    DopiszSzesnastkowo(odpowiedz, static_cast<unsigned>(2 * liczba), 2);
    odpowiedz += "00,";
    for (int i = 0; i < liczba; ++i) {
        DopiszPozycje(odpowiedz, Fragment(ramka, 15 + 4 * static_cast<std::size_t>(i), 4), pamiec);
    }
    return RamkaKoncowa(odpowiedz);
}

} // namespace hostlink
