#include "panel/Okno.h"

#include "Kolory.h"
#include "Komunikaty.h"
#include "dane/PlikiWspolne.h"
#include "media/Dzwiek.h"
#include "panel/Lampka.h"

#include "engine/Funkcje.h"
#include "engine/MapaAdresow.h"
#include "hostlink/KluczeKonfiguracji.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>

#include <string>

namespace opcje = hostlink::opcje;

namespace {

// An input or output lamp.
const QColor& KolorLampy(bool zapalona) {
    return zapalona ? kolory::Czerwona : kolory::Zgaszona;
}

} // namespace

void TOkno::OdswiezWejscia() {
    for (int n = 0; n < LiczbaWejsc; ++n)
        pamiec_.IR.ustaw(plc::KanalWejsc, n,
                         Wejscie[static_cast<std::size_t>(n)]->isChecked() ? 1 : 0);
    for (int n = 0; n < LiczbaWejsc; ++n)
        k[static_cast<std::size_t>(n)]->UstawKolor(
            KolorLampy(pamiec_.IR.bit(plc::KanalWejsc, n) != 0));
}

void TOkno::RegulacjaAnalogowa1() {
    RegulacjaAnalogowa(Suwak1, EditW1, plc::KanalSR250);
}

void TOkno::RegulacjaAnalogowa2() {
    RegulacjaAnalogowa(Suwak2, EditW2, plc::KanalSR251);
}

// The position goes into the word in BCD, so the text shows the word's value
// in hexadecimal digits behind the "#".
void TOkno::RegulacjaAnalogowa(const QSlider* suwak, QLineEdit* tekst, int kanal) {
    const int pozycja = suwak->value();
    tekst->setText(QStringLiteral("#%1").arg(pozycja));
    plc::ZapisLiczby(pamiec_.IR, kanal, std::to_string(pozycja));
}

// The click file is looked for where the player will find it.
void TOkno::ObslugaDwiekow() {
    const bool dzwieki = konfiguracja_.Czytaj(opcje::Dzwieki);
    if (PlikWspolny(PlikKliku)) {
        lampy_.UstawDzwiek(dzwieki);
        return;
    }
    KomunikatOstrzezenie(this, QStringLiteral("Brak pliku dźwiękowego!\n"
                                              "Odtwarzanie dźwięków niemożliwe!"));
}

void TOkno::PokazWyjscie(int n) {
    w.at(static_cast<std::size_t>(n))->UstawKolor(KolorLampy(lampy_.Zapalone(n)));
}
