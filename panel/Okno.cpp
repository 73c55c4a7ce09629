#include "panel/Okno.h"

#include "IAeverButton.h"
#include "Info.h"
#include "Kolory.h"
#include "Komunikaty.h"
#include "MonitorLacza.h"
#include "Odnosniki.h"
#include "Raport.h"
#include "ZmianaPortu.h"
#include "dane/KatalogDanych.h"
#include "dane/MapaPortow.h"
#include "dane/OpisKlienta.h"
#include "dane/PlikiWspolne.h"
#include "panel/Lampka.h"
#include "panel/Port.h"

#include "hostlink/BledyLinii.h"
#include "hostlink/KluczeKonfiguracji.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <string>
#include <utility>

namespace opcje = hostlink::opcje;

TOkno::TOkno(plc::Pamiec& pamiec, plc::TabelaProgramu& program, plc::TCyklPracy& skan,
             LampyWyjsc& lampy)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      ComPort(this), pamiec_(pamiec), program_(program), lampy_(lampy), katalog_(::KatalogDanych()),
      plikProgramu_(katalog_ / "Program.cpm"), plikDM_(katalog_ / "DM.cpm"),
      konfiguracja_(katalog_ / "Konfiguracja.ini"), port_(ComPort),
      lacze_(pamiec, program, skan, lampy, port_, *this, konfiguracja_, plikProgramu_),
      zalaczenie_(lacze_, lampy, konfiguracja_, *this) {
    setObjectName("Okno");
    lacze_.UstawZapis(&zapisLacza_, [] {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    });
    ZbudujKontrolki();
    UstawPort();
    AktywacjaOkna();
    PodlaczZdarzenia();
    OknoPowitalne = new TOknoPowitalne(this);
    Timer1->start();
}

// The worker may outlive the window by a scan; it touches only the memory and
// the lamp state, which main() keeps longer. The port's threads own what they
// still use.
TOkno::~TOkno() {
    Bezpiecznie([this] { ComPort.Close(); });
}

// Creation. The data directory and the three file names are settled first,
// as the members are built; then the options file gives the model in use,
// stay-on-top and the port choice.
void TOkno::AktywacjaOkna() {
    lacze_.UstawModel(static_cast<std::uint8_t>(konfiguracja_.Czytaj(opcje::CPU)));
    setWindowFlag(Qt::WindowStaysOnTopHint, konfiguracja_.Czytaj(opcje::ZawszeNaWierzchu));
    if (!ComPort.IsOpen()) {
        const int numer = konfiguracja_.Czytaj(opcje::NumerPortu);
        if (std::string nazwa = NazwaPortu(numer); !nazwa.empty()) {
            (numer == 1 ? RadioButton1 : RadioButton2)->setChecked(true);
            ComPort.SetDeviceName(std::move(nazwa));
        }
    }
    if (const QScreen* ekran = QGuiApplication::primaryScreen())
        move(ekran->availableGeometry().center() - rect().center());
}

// The line settings every run starts with; they are not stored.
void TOkno::UstawPort() {
    ComPort.SetDeviceName(NazwaPortu(2));
    ComPort.SetBaudrate(br9600);
    ComPort.SetDatabits(db7);
    ComPort.SetParity(paEven);
    ComPort.SetParityCheck(true);
    ComPort.SetStopbits(sb2);
    // Asked at every opening, so a choice stored since then is what opens.
    ComPort.SetResolver([](const std::string& nazwa) { return ::UrzadzeniePortu(nazwa); });
    OdswiezOpisyPortow();
    ComPort.RaportBledu = [](const std::string& komunikat) { RaportBledu(komunikat); };
    ComPort.OnRxChar = [this](TVaCustomComm&, std::int32_t) {
        Bezpiecznie([this] { lacze_.ReakcjaNaZnak(); });
    };
    ComPort.OnError = [this](TVaCustomComm&, std::int32_t bledy) {
        Bezpiecznie([this, bledy] { BladObslugiPortu(bledy); });
    };
    // Clients coming and going: recorded for the link monitor, and half a
    // frame the last one left behind is not taken for the start of the next
    // one's first frame.
    ComPort.SetMonitorEvents({ceError, ceRxChar, ceTxEmpty, ceRlsd});
    ComPort.OnRlsd = [this](TVaCustomComm&) {
        Bezpiecznie([this] {
            lacze_.WyczyscBufor();
            SprawdzKlienta();
            OdswiezOpisKontrolkiCOMM();
        });
    };
    ComPort.OnClientLine = [this](TVaCustomComm&) {
        Bezpiecznie([this] { UstawieniaKlientaSieci(); });
    };
}

void TOkno::PodlaczZdarzenia() {
    connect(Przycisk, &TIAeverButton::clicked, this,
            BezpiecznySlot(this, &TOkno::ZalaczenieSymulatora));
    connect(Button1, &TIAeverButton::clicked, this, BezpiecznySlot(this, &TOkno::InfoClick));
    connect(Button2, &TIAeverButton::clicked, this, BezpiecznySlot(this, &TOkno::OpcjeClick));
    connect(Button3, &TIAeverButton::clicked, this, BezpiecznySlot(this, &TOkno::PortClick));
    connect(Button4, &TIAeverButton::clicked, this, BezpiecznySlot(this, &TOkno::PomocClick));
    // The handler runs when the choice changes, once, for the button now checked.
    for (QRadioButton* wybor : {RadioButton1, RadioButton2})
        connect(wybor, &QRadioButton::toggled, this,
                [zmiana = BezpiecznySlot(this, &TOkno::ZmianaPortu)](bool zaznaczony) {
                    if (zaznaczony)
                        zmiana();
                });
    connect(Suwak1, &QSlider::valueChanged, this,
            BezpiecznySlot(this, &TOkno::RegulacjaAnalogowa1));
    connect(Suwak2, &QSlider::valueChanged, this,
            BezpiecznySlot(this, &TOkno::RegulacjaAnalogowa2));
    for (QCheckBox* przelacznik : Wejscie)
        connect(przelacznik, &QCheckBox::clicked, this,
                BezpiecznySlot(this, &TOkno::OdswiezWejscia));
    connect(TimerKontrolek, &QTimer::timeout, this, BezpiecznySlot(this, &TOkno::ZegarKontrolki));
    connect(TimerBledu, &QTimer::timeout, this, BezpiecznySlot(this, &TOkno::ZegarBledu));
    connect(Timer1, &QTimer::timeout, this, BezpiecznySlot(this, &TOkno::OknoPow));
    auto* skrotMonitora = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    connect(skrotMonitora, &QShortcut::activated, this,
            BezpiecznySlot(this, &TOkno::MonitorLaczaClick));
    connect(kontrolkaCOMM, &Lampka::Klikniecie, this,
            BezpiecznySlot(this, &TOkno::MonitorLaczaClick));
    connect(&lampy_, &LampyWyjsc::ZmianaWyjscia, this, &TOkno::PokazWyjscie);
    connect(&lampy_, &LampyWyjsc::ZmianaBledu, this, &TOkno::PokazBlad);
}

void TOkno::closeEvent(QCloseEvent* event) {
    bool zapisany = false;
    Bezpiecznie([this, &zapisany] {
        ZamkniecieSymulatora();
        zapisany = true;
    });
    if (zapisany)
        event->accept();
    else
        event->ignore();
}

void TOkno::ZegarKontrolki() {
    kontrolkaCOMM->UstawKolor(kolory::ZgaszonaBledu);
    TimerKontrolek->stop();
}

// The welcome window comes once, as soon as the event loop runs, and holds
// the panel until its countdown lets it close; it then deletes itself.
void TOkno::OknoPow() {
    Timer1->stop();
    if (!OknoPowitalne)
        return;
    OknoPowitalne->UstawLicznik(10);
    OknoPowitalne->exec();
}

void TOkno::PortClick() {
    TPort Port(*this, this);
    Port.exec();
    // The controller's line may have changed under the client's.
    OdswiezOpisKontrolkiCOMM();
}

void TOkno::InfoClick() {
    TInfo Info(this);
    Info.exec();
}

void TOkno::OpcjeClick() {
    TOpcje Opcje(*this, this);
    Opcje.exec();
}

void TOkno::MonitorLaczaClick() {
    if (!MonitorLacza)
        MonitorLacza = new TMonitorLacza(zapisLacza_, this);
    MonitorLacza->show();
    MonitorLacza->raise();
    MonitorLacza->activateWindow();
}

// Without a browser launcher the desktop refuses the page; the user is told
// where it is, to open it by hand.
void TOkno::PomocClick() {
    const auto strona = odnosniki::StronaPomocy();
    if (!strona) {
        QStringList katalogi;
        for (const std::filesystem::path& katalog : KatalogiPlikowWspolnych())
            katalogi << QString::fromStdString(katalog.string());
        KomunikatOstrzezenie(
            this, QStringLiteral("Nie znaleziono pliku pomocy %1 w katalogach:\n%2")
                      .arg(QString::fromLatin1(odnosniki::PlikPomocy), katalogi.join(u'\n')));
        return;
    }
    if (!odnosniki::OtworzPomoc(*strona))
        KomunikatOstrzezenie(this,
                             QStringLiteral("Nie można otworzyć pliku pomocy w przeglądarce.\n"
                                            "Proszę otworzyć go ręcznie:\n%1")
                                 .arg(QString::fromStdString(strona->string())));
}

// A line error lights ERR for a moment, as traffic lights COMM; which error
// it was does not change the flash. The red of a scan that ended on a bad
// word outlasts the flash.
void TOkno::BladObslugiPortu(std::int32_t bledy) {
    lacze_.ZapiszZdarzenie(hostlink::LaczeHost::ZdarzenieLinii::BladLinii,
                           hostlink::OpisBledowLinii(static_cast<std::uint32_t>(bledy)));
    TimerBledu->start();
    PokazBlad();
}

void TOkno::ZegarBledu() {
    TimerBledu->stop();
    PokazBlad();
}

void TOkno::PokazBlad() {
    KontrolkaERR->UstawKolor(lampy_.Blad() || TimerBledu->isActive() ? kolory::Czerwona
                                                                     : kolory::ZgaszonaBledu);
}

void TOkno::OdswiezOpisyPortow() {
    const std::pair<QRadioButton*, std::string> wybory[] = {{RadioButton1, NazwaPortu(1)},
                                                            {RadioButton2, NazwaPortu(2)}};
    for (const auto& [wybor, nazwa] : wybory)
        wybor->setToolTip(
            QStringLiteral("Wybór portu szeregowego\n%1: %2")
                .arg(wybor->text(), QString::fromStdString(OpisUrzadzeniaPortu(nazwa))));
}

std::string TOkno::WybranyPort() const {
    return NazwaPortu(
        NumerWybranegoPortu(RadioButton1->isChecked(), RadioButton2->isChecked()).value_or(2));
}

std::string TOkno::UrzadzeniePortu(const std::string& port) const {
    return ::UrzadzeniePortu(port);
}

std::string TOkno::OpisKlientaSieci() const {
    return NiezgodnoscKlienta(ComPort.NetworkClient(), ComPort.LineSettings());
}

void TOkno::OdswiezOpisKontrolkiCOMM() {
    const std::string klient = OpisKlientaSieci();
    kontrolkaCOMM->setToolTip(
        QStringLiteral("Ruch na łączu. Kliknij, aby otworzyć monitor łącza (Ctrl+M).") +
        (klient.empty() ? QString() : QStringLiteral("\n") + QString::fromStdString(klient)));
}

void TOkno::UstawieniaKlientaSieci() {
    if (const auto klient = ComPort.NetworkClient(); klient && klient->LineSet)
        lacze_.ZapiszZdarzenie(hostlink::LaczeHost::ZdarzenieLinii::UstawieniaKlienta,
                               VaLineName(klient->Line));
    OdswiezOpisKontrolkiCOMM();
}

void TOkno::UstawUrzadzeniePortu(const std::string& port, const std::string& urzadzenie) {
    ZapiszUrzadzeniePortu(port, urzadzenie);
    OdswiezOpisyPortow();
}

void TOkno::UstawKolorKontrolkiPWR(const QColor& kolor) {
    KontrolkaPWR->UstawKolor(kolor);
}

void TOkno::ZglosBlad(const std::exception& blad) {
    RaportBledu(blad.what());
}

void TOkno::UstawNaWierzchu(bool naWierzchu) {
    const bool widoczne = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, naWierzchu);
    if (widoczne)
        show();
}

void TOkno::PokazRUN(bool skanDziala) {
    KontrolkaRUN->UstawKolor(skanDziala ? kolory::Zielona : kolory::Biala);
}

void TOkno::ZgasKontrolkeERR() {
    lampy_.KasujBlad();
}

void TOkno::ZapalKontrolkeCOMM() {
    TimerKontrolek->stop();
    kontrolkaCOMM->UstawKolor(kolory::Czerwona);
}

void TOkno::UruchomTimerKontrolek() {
    TimerKontrolek->start();
}
