#include "LaczeHost.h"

#include "Tekst.h"

#include <utility>

namespace hostlink {

LaczeHost::LaczeHost(plc::Pamiec& pamiec, plc::TabelaProgramu& program, plc::TCyklPracy& skan,
                     PortLacza& port, PanelLacza& panel, const KonfiguracjaLacza& konfiguracja,
                     std::filesystem::path plikProgramu)
    : pamiec_(pamiec), skan_(skan), port_(port), panel_(panel), konfiguracja_(konfiguracja),
      transfer_(program, port, std::move(plikProgramu)) {}

void LaczeHost::ReakcjaNaZnak() {
    panel_.ZapalKontrolkeCOMM();
    bufor_ += port_.ReadText();
    if (bufor_.empty()) {
        return;
    }
    if (bufor_.back() != '\r') {
        if (bufor_.size() > NajwiekszyBufor) {
            bufor_.clear();
            panel_.UruchomTimerKontrolek();
        }
        return;
    }

    // Whatever the outcome, the frame must not stay in the buffer: every later
    // frame would be appended to it and fail the same way.
    try {
        RozpoznaniePolecenia();
    } catch (...) {
        bufor_.clear();
        panel_.UruchomTimerKontrolek();
        throw;
    }
    bufor_.clear();
    panel_.UruchomTimerKontrolek();
}

void LaczeHost::RozpoznaniePolecenia() {
    if (bufor_.front() != '@') {
        InneOdpowiedzi();
        return;
    }
    const char naglowek = bufor_.size() >= 4 ? bufor_[3] : '\0';
    if (naglowek == 'M') {
        PolecenieMB(Fragment(bufor_, 6, 4));
    } else if (naglowek == 'X') {
        PolecenieXZ();
    }
}

// The abort sends nothing and leaves a transfer under way where it was.
void LaczeHost::PolecenieXZ() {
    port_.WriteText("");
}

} // namespace hostlink
