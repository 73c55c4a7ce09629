#include "panel/Okno.h"

#include "IAeverButton.h"
#include "Kolory.h"
#include "Komunikaty.h"
#include "ZmianaPortu.h"
#include "dane/PlikDM.h"
#include "panel/Lampka.h"

#include "engine/TabelaProgramu.h"

#include "hostlink/KluczeKonfiguracji.h"

#include <QRadioButton>
#include <QTimer>

namespace opcje = hostlink::opcje;

void TOkno::ZalaczenieSymulatora() {
    const KursorZajety kursor;
    const auto numer = NumerWybranegoPortu(RadioButton1->isChecked(), RadioButton2->isChecked());
    if (numer && !ComPort.IsOpen())
        ComPort.SetDeviceName(NazwaPortu(*numer));
    if (!zalaczenie_.Zalaczony())
        OtworzPort();
    else
        ZamknijPort();
}

// A missing or unreadable Program.cpm or DM.cpm throws out before anything
// is drawn: the simulator stays off and the button keeps "&Włącz".
void TOkno::OtworzPort() {
    zalaczenie_.Zalacz();
}

void TOkno::ZamknijPort() {
    zalaczenie_.Wylacz();
}

void TOkno::WczytajPliki() {
    SprawdzeniePamieci();
    OdczytDM();
}

void TOkno::PokazZalaczanie() {
    Przycisk->setText(QStringLiteral("&Wyłącz"));
    UstawKoloryPrzycisku(kolory::PrzyciskZalaczony, kolory::PrzyciskZalaczony1);
}

void TOkno::PokazZasilanie() {
    KontrolkaPWR->UstawKolor(kolory::Zielona);
}

void TOkno::ZglosBrakPortu() {
    KomunikatZwykly(
        this, QStringLiteral("Wybrany port nie istnieje lub jest zajęty przez inną aplikację.\n"
                             "Proszę upewnić się, że wybrany port jest obsługiwany przez\n"
                             "ten komputer, wybrać inny port i ponownie włączyć program\n"
                             "lub w ustawieniach zaznaczyć opcję \"Brak obsługi portu\"."));
}

void TOkno::PokazWylaczenie() {
    Przycisk->setText(QStringLiteral("&Włącz"));
    UstawKoloryPrzycisku(kolory::PrzyciskWylaczony, kolory::PrzyciskWylaczony1);
    KontrolkaPWR->UstawKolor(kolory::Zgaszona);
    KontrolkaRUN->UstawKolor(kolory::Zgaszona);
    TimerBledu->stop();
    lampy_.KasujBlad();
    KontrolkaERR->UstawKolor(kolory::ZgaszonaBledu);
    kontrolkaCOMM->UstawKolor(kolory::ZgaszonaBledu);
    OdswiezOpisKontrolkiCOMM();
}

void TOkno::OtworzPortSzeregowy() {
    ComPort.Open();
    ZapiszOtwarciePortu();
}

void TOkno::ZamknijPortSzeregowy() {
    const bool otwarty = ComPort.IsOpen();
    ComPort.Close();
    klientObecny_ = false;
    if (otwarty)
        lacze_.ZapiszZdarzenie(hostlink::LaczeHost::ZdarzenieLinii::PortZamkniety,
                               ComPort.DeviceName());
}

void TOkno::ZapiszOtwarciePortu() {
    lacze_.ZapiszZdarzenie(hostlink::LaczeHost::ZdarzenieLinii::PortOtwarty, ComPort.DeviceName());
    lacze_.OdebranoPrzyWylaczonym(ComPort.TakeDiscarded());
    SprawdzKlienta();
    OdswiezOpisKontrolkiCOMM();
}

void TOkno::SprawdzKlienta() {
    const bool obecny = (ComPort.ModemStatus() & MS_RLSD_ON) != 0;
    if (obecny == klientObecny_)
        return;
    klientObecny_ = obecny;
    lacze_.ZapiszZdarzenie(obecny ? hostlink::LaczeHost::ZdarzenieLinii::KlientPolaczony
                                  : hostlink::LaczeHost::ZdarzenieLinii::KlientRozlaczony);
}

// Closing saves the DM words without switching off: the scan may still run.
void TOkno::ZamkniecieSymulatora() {
    const KursorZajety kursor;
    ZapisDM();
}

void TOkno::SprawdzeniePamieci() {
    ObslugaDwiekow();
    plc::WczytajProgram(program_, pamiec_, plikProgramu_);
}

void TOkno::OdczytDM() {
    ::OdczytDM(plikDM_, konfiguracja_.Czytaj(opcje::PodtrzymanieDM), pamiec_);
}

// Until a switch-on has gone through, the DM words in memory are not this
// run's: saving them would put zeros over every retained word, also after a
// switch-on that stopped at a bad line of DM.cpm. A rebuild asked for by the
// options dialog is written all the same.
void TOkno::ZapisDM() {
    const bool podtrzymanie = konfiguracja_.Czytaj(opcje::PodtrzymanieDM);
    if (!odbudowaDM_ && !(podtrzymanie && zalaczenie_.ZalaczonyChocRaz()))
        return;
    ::ZapisDM(plikDM_, pamiec_);
}

void TOkno::ZmianaPortu() {
    const auto decyzja =
        DecyzjaZmianyPortu(RadioButton1->isChecked(), RadioButton2->isChecked(), ComPort.IsOpen());
    if (decyzja.numerPortu)
        konfiguracja_.Zapisz(opcje::NumerPortu, *decyzja.numerPortu);
    if (decyzja.wylaczSymulator) {
        ZamknijPort();
        KomunikatInformacja(this, QString::fromUtf8(KomunikatPortZamkniety));
    }
}
