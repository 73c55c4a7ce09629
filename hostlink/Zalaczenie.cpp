#include "Zalaczenie.h"

#include "KluczeKonfiguracji.h"
#include "engine/MapaAdresow.h"

#include <exception>

namespace hostlink {

void Zalaczenie::Zalacz() {
    kroki_.WczytajPliki();
    kroki_.PokazZalaczanie();
    lacze_.OznaczZalaczenie();
    lacze_.ZapiszZdarzenie(LaczeHost::ZdarzenieLinii::Zalaczenie);
    try {
        if (!konfiguracja_.Czytaj(opcje::Komunikacja)) {
            kroki_.OtworzPortSzeregowy();
            portWUzyciu_ = true;
        }
        zalaczony_ = true;
        kroki_.PokazZasilanie();
        lacze_.SprawdzenieTrybuPracy();
        zalaczonyChocRaz_ = true;
    } catch (const std::exception&) {
        kroki_.ZglosBrakPortu();
        Wylacz();
    }
}

void Zalaczenie::Wylacz() {
    lacze_.ZatrzymajSkan();
    for (int n = 0; n < plc::LiczbaPunktowWeWy; ++n) {
        wyjscia_.ZgasWyjscia(n);
    }
    kroki_.ZamknijPortSzeregowy();
    portWUzyciu_ = false;
    lacze_.WyczyscBufor();
    lacze_.ZapiszZdarzenie(LaczeHost::ZdarzenieLinii::Wylaczenie);
    zalaczony_ = false;
    kroki_.PokazWylaczenie();
}

} // namespace hostlink
