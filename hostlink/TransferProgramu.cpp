#include "TransferProgramu.h"

#include "Fcs.h"
#include "RamkiStale.h"
#include "Tekst.h"
#include "engine/Dekodowanie.h"
#include "engine/Funkcje.h"

#include <algorithm>
#include <utility>

namespace hostlink {

namespace {

constexpr int SlowWPierwszejRamce = 23;
constexpr int SlowWDalszejRamce = 31;
// Beyond this a download frame number stores nothing; W <= 128 needs at most
// four continuation frames.
constexpr int GranicaRamekPobierania = 10;

// The first upload frame carries 102 characters of program text: entries 0 to
// 24 and the first half of entry 25.
constexpr int SlowWPierwszejRamceWysylania = 25;
constexpr std::size_t ZnakowWPierwszejRamceWysylania = 102;
// Every further part of a longer upload carries this many characters of text.
constexpr std::size_t ZnakowWDalszejRamceWysylania = 128;

// Whether a word counts towards S of the summary number 2048 - S.
bool LiczySieDoSumy(const plc::SlowoProgramu& slowo) {
    using plc::dekodowanie::Cyfra;
    const int d1 = Cyfra(slowo, 0);
    const int d2 = Cyfra(slowo, 1);
    const int d4 = Cyfra(slowo, 3);
    return d1 == 2 || (d1 == 0 && d2 != 0) || (d1 == 1 && d4 != 1);
}

// The frame's own text, where its words are: up to its first CR, without the
// "*" and the FCS before that. A word count larger than the words sent must
// not make a word of the FCS, "*" and CR (or of a frame after it in the same
// read): such a word would split a line of Program.cpm.
std::string_view TekstRamki(std::string_view ramka) {
    ramka = ramka.substr(0, ramka.find('\r'));
    if (!ramka.empty() && ramka.back() == '*') {
        ramka.remove_suffix(1);
    }
    ramka.remove_suffix(std::min<std::size_t>(2, ramka.size()));
    return ramka;
}

} // namespace

TransferProgramu::TransferProgramu(plc::TabelaProgramu& program, PortLacza& port,
                                   std::filesystem::path plikProgramu)
    : program_(program), port_(port), plikProgramu_(std::move(plikProgramu)) {}

void TransferProgramu::ObslugaProgramuPrzychodzacego(std::string_view ramka) {
    int pierwszyWpis = 0;
    int slowWRamce = 0;
    std::size_t pozycjaSlow = 1;
    if (ramkaPobierania_ == 0) {
        program_.wyczysc();
        const int slowa = plc::PolowaDoParzystej(plc::LiczbaSzesnastkowa(Fragment(ramka, 10, 2)));
        liczbaLiniiTransferu_ = static_cast<std::uint8_t>(slowa);
        slowWRamce = slowa;
        if (slowa > SlowWPierwszejRamce) {
            slowWRamce = SlowWPierwszejRamce;
            ramkaPobierania_ = 1;
        }
        pozycjaSlow = 19;
    } else if (ramkaPobierania_ < GranicaRamekPobierania) {
        const int k = ramkaPobierania_;
        const int slowa = liczbaLiniiTransferu_;
        pierwszyWpis = SlowWPierwszejRamce + SlowWDalszejRamce * (k - 1);
        if (SlowWPierwszejRamce + SlowWDalszejRamce * k < slowa) {
            slowWRamce = SlowWDalszejRamce;
            ramkaPobierania_ = k + 1;
        } else {
            // An upload in between may have lowered the transfer line count
            // below what this download already holds: then nothing is left.
            slowWRamce = std::max(0, slowa - pierwszyWpis);
            ramkaPobierania_ = 0;
        }
    }

    const std::string_view tekst = TekstRamki(ramka);
    for (int m = 0; m < slowWRamce; ++m) {
        const int wpis = pierwszyWpis + m;
        if (wpis < plc::RozmiarTabeli) {
            program_.ustaw(wpis, Fragment(tekst, pozycjaSlow + 4 * static_cast<std::size_t>(m), 4));
        }
    }
    // Every word of the frame is taken.
    licznikLiniiRamki_ = 0;

    port_.WriteText(ramkaPobierania_ > 0 ? ramki::SamCR : ramki::Potwierdzenie);
    ZapiszPlikProgramu();
}

void TransferProgramu::ZapiszPlikProgramu() {
    int niepuste = 0;
    for (int k = 0; k < plc::RozmiarTabeli; ++k) {
        if (program_.odczytaj(k).dlugosc > 0) {
            ++niepuste;
        }
    }
    // The scan follows the table even when the file below cannot be written.
    program_.ustawLiczbeLinii(static_cast<std::uint8_t>(std::min(niepuste, 255)));
    plc::ZapiszProgram(program_, plikProgramu_);
}

void TransferProgramu::ObslugaProgramuWychodzacego() {
    if (ramkaWysylania_ == 0) {
        PierwszaRamkaWysylania();
    } else {
        DalszaRamkaWysylania();
    }
}

void TransferProgramu::PierwszaRamkaWysylania() {
    int niepuste = 0;
    int suma = 0;
    for (int k = 0; k < plc::RozmiarTabeli; ++k) {
        const plc::SlowoProgramu slowo = program_.odczytaj(k);
        if (slowo.dlugosc == 0) {
            continue;
        }
        ++niepuste;
        if (LiczySieDoSumy(slowo)) {
            ++suma;
        }
    }

    std::string tekst;
    std::string reszta;
    if (niepuste > SlowWPierwszejRamceWysylania) {
        for (int k = 0; k < SlowWPierwszejRamceWysylania; ++k) {
            tekst += program_.odczytaj(k).tekst();
        }
        const plc::SlowoProgramu dzielone = program_.odczytaj(SlowWPierwszejRamceWysylania);
        tekst += Fragment(dzielone.tekst(), 1, 2);
        reszta = Fragment(dzielone.tekst(), 3, 2);
        for (int k = SlowWPierwszejRamceWysylania + 1; k < plc::RozmiarTabeli; ++k) {
            reszta += program_.odczytaj(k).tekst();
        }
    } else {
        for (int k = 0; k <= niepuste; ++k) {
            tekst += program_.odczytaj(k).tekst();
        }
        tekst.append(ZnakowWPierwszejRamceWysylania - 4 * static_cast<std::size_t>(niepuste), '0');
    }

    std::string ramka = "@00MB00890000000080";
    DopiszSzesnastkowo(ramka, static_cast<unsigned>(2048 - suma), 4);
    ramka += ',';
    ramka += tekst;
    port_.WriteText(RamkaPosrednia(ramka));

    if (niepuste > SlowWPierwszejRamceWysylania) {
        liczbaLiniiTransferu_ = static_cast<std::uint8_t>(niepuste - SlowWPierwszejRamceWysylania);
        ramkaWysylania_ = 1;
    } else {
        liczbaLiniiTransferu_ = static_cast<std::uint8_t>(niepuste);
    }
    resztaWysylania_ = std::move(reszta);
    flagaWysylania_ = true;
}

// Each part is the word split by the previous frame's end, 31 whole words and
// the first half of the next: 128 characters, the last part made up with "0".
void TransferProgramu::DalszaRamkaWysylania() {
    const std::size_t ile = std::min(ZnakowWDalszejRamceWysylania, resztaWysylania_.size());
    std::string tekst = resztaWysylania_.substr(0, ile);
    tekst.append(ZnakowWDalszejRamceWysylania - ile, '0');
    port_.WriteText(RamkaPosrednia(tekst));

    resztaWysylania_.erase(0, ile);
    if (resztaWysylania_.empty()) {
        ramkaWysylania_ = 0;
    }
    flagaWysylania_ = true;
}

void TransferProgramu::RamkaPoWysylaniu() {
    port_.WriteText(licznikLiniiRamki_ < liczbaLiniiTransferu_ ? ramki::RamkaZer()
                                                               : ramki::RamkaZamykajaca());
    ++licznikLiniiRamki_;
}

} // namespace hostlink
