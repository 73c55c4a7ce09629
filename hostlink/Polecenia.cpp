#include "LaczeHost.h"
#include "Monitor.h"
#include "RamkiStale.h"
#include "Tekst.h"

namespace hostlink {

namespace {

ramki::Tryb BiezacyTryb(bool run, bool monitor) {
    if (run) {
        return ramki::Tryb::Run;
    }
    return monitor ? ramki::Tryb::Monitor : ramki::Tryb::Program;
}

} // namespace

// The sub-command code is compared whole and case-sensitively, in this order;
// a code that matches none gets no reply.
void LaczeHost::PolecenieMB(std::string_view kod) {
    if (kod == "3084") {
        Monitoruj();
    } else if (kod == "1A03") {
        port_.WriteText(ramki::RamkaStatusu(BiezacyTryb(FlagaRUN(), FlagaMONITOR())));
    } else if (kod == "1604") {
        port_.WriteText(ramki::Odpowiedz1604);
    } else if (kod == "1006") {
        // The tenth character counted back from the end, the CR being the first.
        const char znak = bufor_.size() >= 10 ? bufor_[bufor_.size() - 10] : '\0';
        if (znak == '0') {
            port_.WriteText(ramki::Odpowiedz1006Znak0);
        } else if (znak == '2') {
            port_.WriteText(ramki::Odpowiedz1006Znak2);
        } else if (znak == '3') {
            port_.WriteText(ramki::Odpowiedz1006Znak3);
        } else {
            BezOdpowiedzi("nieznany wariant — bez odpowiedzi");
        }
    } else if (kod == "5E9E") {
        port_.WriteText(ramki::SamCR);
    } else if (kod == "2D04") {
        if (const auto tozsamosc = ramki::RamkaTozsamosci(model_)) {
            port_.WriteText(*tozsamosc);
        } else {
            BezOdpowiedzi("model " + std::to_string(model_) + " bez tożsamości — bez odpowiedzi");
        }
    } else if (kod == "4103") {
        port_.WriteText(ramki::Odpowiedz4103);
    } else if (kod == "0404") {
        ZmianaTrybu();
    } else if (kod == "5208") {
        port_.WriteText(ramki::Potwierdzenie);
    } else if (kod == "1286") {
        transfer_.RozpocznijPobieranie();
        transfer_.ObslugaProgramuPrzychodzacego(bufor_);
    } else if (kod == "0703") {
        port_.WriteText(ramki::Potwierdzenie);
    } else if (kod == "4B86") {
        port_.WriteText(ramki::SamCR);
    } else if (kod == "1107") {
        transfer_.RozpocznijWysylanie();
        transfer_.ObslugaProgramuWychodzacego();
    } else if (kod == "4A07") {
        port_.WriteText(ramki::Odpowiedz4A07());
    }
}

// The reply goes out before the mode changes. The PROGRAM entry is answered
// with the RUN status frame, as the controller does.
void LaczeHost::ZmianaTrybu() {
    const std::string_view tryb = Fragment(bufor_, 10, 4);
    if (tryb == "0004") {
        port_.WriteText(ramki::Potwierdzenie);
        TrybRUN();
    } else if (tryb == "0002") {
        // Only the flags: from RUN the scan goes on, from PROGRAM none starts.
        port_.WriteText(ramki::Potwierdzenie);
        monitor_ = 1;
        run_ = 0;
    } else if (tryb == "0001") {
        port_.WriteText(ramki::RamkaStatusu(ramki::Tryb::Run));
        TrybProgram();
    } else {
        BezOdpowiedzi("nieznany tryb — bez odpowiedzi");
    }
}

void LaczeHost::InneOdpowiedzi() {
    if (bufor_ == ramki::Zapytanie5E9E) {
        Opisz("zapytanie 5E9E, ramka końcowa");
        port_.WriteText(ramki::Odpowiedz5E9E);
        transfer_.WyczyscFlageWysylania();
    } else if (bufor_ == ramki::SamCR) {
        if (transfer_.FlagaWysylania()) {
            Opisz(transfer_.NastepnaWypelnienie() ? "odczyt programu, ramka wypełnienia"
                                                  : "odczyt programu, ramka zamykająca");
            transfer_.RamkaPoWysylaniu();
        } else {
            Opisz("dalsza część odpowiedzi");
            port_.WriteText(ramki::DrugaRamkaOdpowiedzi);
        }
    } else if (bufor_ == ramki::RamkaZer()) {
        Opisz("ramka zer (4B86, ciąg dalszy)");
        port_.WriteText(ramki::SamCR);
    } else if (bufor_ == ramki::OstatniaRamka4B86()) {
        Opisz("zapytanie 4B86, ramka końcowa");
        port_.WriteText(ramki::Potwierdzenie);
    } else if (transfer_.OczekujePobierania()) {
        if (Zapisuje()) {
            Opisz("wgrywanie programu, ramka " + std::to_string(transfer_.RamkaPobierania() + 1));
        }
        transfer_.ObslugaProgramuPrzychodzacego(bufor_);
    } else if (transfer_.OczekujeWysylania()) {
        Opisz("odczyt programu, ramka dalsza");
        transfer_.ObslugaProgramuWychodzacego();
    }
}

void LaczeHost::Monitoruj() {
    port_.WriteText(OdpowiedzMonitora(bufor_, pamiec_));
}

} // namespace hostlink
