#include "Monitor.h"

#include "Fcs.h"
#include "Tekst.h"
#include "engine/Funkcje.h"
#include "engine/MapaAdresow.h"

#include <cstdint>

namespace hostlink {

namespace {

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
    DopiszSzesnastkowo(cel, obszar.slowo(kanal), 4);
    cel += "0000";
}

// Channels 253-255 hold system bits; the programming software is shown what
// the controller itself reports for them, not the stored bits.
void DopiszKanalIR(std::string& cel, const plc::ObszarBitowy& ir, int kanal) {
    switch (kanal) {
    case plc::PierwszyCykl.kanal:
        cel += "20000000";
        return;
    case plc::ZegarMinutowy.kanal:
        cel += ir.bit(plc::ZegarMinutowy) != 0 ? "00070000" : "00000000";
        return;
    case plc::ZegarSekundowy.kanal:
        cel += ir.bit(plc::ZegarSekundowy) != 0 ? "00070000" : "00000000";
        return;
    default:
        DopiszKanal(cel, ir, kanal);
    }
}

// Appends the item for one operand word; area codes without an item add nothing.
void DopiszPozycje(std::string& cel, std::string_view slowo, const plc::Pamiec& pamiec) {
    const plc::AdresOperandu adres = plc::DekodujAdres(slowo);
    switch (adres.rodzaj) {
    case plc::RodzajAdresu::HR:
        DopiszKanal(cel, pamiec.HR, adres.numer);
        return;
    case plc::RodzajAdresu::IR:
        DopiszKanalIR(cel, pamiec.IR, adres.numer);
        return;
    case plc::RodzajAdresu::WartoscTC: {
        const plc::PozycjaTC& pozycja = pamiec.TC[static_cast<std::size_t>(adres.numer)];
        DopiszDziesietnie(cel, pozycja.wartosc());
        cel += pozycja.status();
        return;
    }
    case plc::RodzajAdresu::StatusTC: {
        const std::string status = pamiec.TC[static_cast<std::size_t>(adres.numer)].status();
        cel += status;
        cel += status;
        return;
    }
    case plc::RodzajAdresu::DM:
        DopiszDziesietnie(cel, plc::SlowoDM(pamiec, adres.numer));
        cel += "0000";
        return;
    case plc::RodzajAdresu::Brak:
        return;
    }
}

} // namespace

std::string OdpowiedzMonitora(std::string_view ramka, const plc::Pamiec& pamiec) {
    const int liczba = plc::PolowaDoParzystej(plc::LiczbaSzesnastkowa(Fragment(ramka, 10, 2)));

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
