#include "LaczeHost.h"

#include "KluczeKonfiguracji.h"
#include "engine/MapaAdresow.h"

namespace hostlink {

void LaczeHost::SprawdzenieTrybuPracy() {
    if (konfiguracja_.Czytaj(opcje::Program)) {
        TrybProgram();
    } else if (konfiguracja_.Czytaj(opcje::Monitor)) {
        TrybMonitor();
    } else if (konfiguracja_.Czytaj(opcje::Run)) {
        TrybRUN();
    }
    model_ = static_cast<std::uint8_t>(konfiguracja_.Czytaj(opcje::CPU));
}

// The worker is stopped and waited for before anything is cleared: a scan
// still in progress would otherwise write the bits and light the lamps again
// after this returns. The wait is short (one scan) and safe, as the worker
// never waits for the window thread.
void LaczeHost::TrybProgram() {
    ZatrzymajSkan();
    panel_.PokazRUN(false);
    panel_.ZgasKontrolkeERR();
    for (int n = 0; n < plc::LiczbaPunktowWeWy; ++n) {
        wyjscia_.ZgasWyjscia(n);
    }
    pamiec_.IR.zeruj();
    pamiec_.HR.zeruj();
}

void LaczeHost::TrybMonitor() {
    UruchomSkan();
    monitor_ = 1;
    run_ = 0;
}

void LaczeHost::TrybRUN() {
    UruchomSkan();
    run_ = 1;
    monitor_ = 0;
}

// A worker already running is kept; one that is ending is waited for by
// Start(), so two never run side by side.
void LaczeHost::UruchomSkan() {
    panel_.PokazRUN(true);
    panel_.ZgasKontrolkeERR();
    panel_.OdswiezWejscia();
    pamiec_.IR.ustaw(plc::PierwszyCykl, 1);
    panel_.RegulacjaAnalogowa1();
    panel_.RegulacjaAnalogowa2();
    skan_.Start();
}

void LaczeHost::ZatrzymajSkan() {
    skan_.ZadajStop();
    skan_.CzekajNaKoniec();
    run_ = 0;
    monitor_ = 0;
}

} // namespace hostlink
