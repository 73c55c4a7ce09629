#include "panel/Opcje.h"

#include "Kolory.h"
#include "Komunikaty.h"
#include "Raport.h"
#include "Wyglad.h"
#include "dane/PlikDM.h"
#include "dane/PlikIni.h"

#include "hostlink/KluczeKonfiguracji.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace opcje = hostlink::opcje;

namespace {

// The list's texts; model k of the options file is the k-th of them.
const QStringList Modele{QStringLiteral("CPU 10"), QStringLiteral("CPU 20"),
                         QStringLiteral("CPU 30")};

QCheckBox* Pole(QWidget* rodzic, const char* nazwa, const QString& tytul, int y,
                const QString& podpowiedz = {}) {
    auto* pole = new QCheckBox(tytul, rodzic);
    pole->setObjectName(nazwa);
    pole->setGeometry(12, y, 324, 22);
    pole->setToolTip(podpowiedz);
    return pole;
}

QRadioButton* Wybor(QGroupBox* grupa, const char* nazwa, const QString& tytul, int x,
                    const QString& podpowiedz) {
    auto* wybor = new QRadioButton(tytul, grupa);
    wybor->setObjectName(nazwa);
    wybor->setGeometry(x, 20, 96, 20);
    wybor->setToolTip(podpowiedz);
    return wybor;
}

} // namespace

TOpcje::TOpcje(OknoOpcji& okno, QWidget* rodzic)
    : QDialog(rodzic, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), okno_(okno) {
    ZbudujKontrolki();
    connect(Button2, &QPushButton::clicked, this, BezpiecznySlot(this, &TOpcje::OkClick));
    connect(Button1, &QPushButton::clicked, this, BezpiecznySlot(this, &TOpcje::AnulujClick));
    connect(cbPodtrzymanieDM, &QCheckBox::clicked, this,
            BezpiecznySlot(this, &TOpcje::SprawdzeniePlikuDM));
}

void TOpcje::ZbudujKontrolki() {
    setObjectName("Opcje");
    setWindowTitle(QStringLiteral("Opcje "));
    setFixedSize(380, 328);
    wyglad::UstawTlo(*this, kolory::TloDialogu);
    // The controls stand at fixed places, as on the panel.
    setFont(wyglad::CzcionkaPanelu(*this));

    const QString podpowiedzModelu = QStringLiteral("Wybór wersji sterownika");
    auto* etykieta = new QLabel(QStringLiteral("Model sterownika :"), this);
    etykieta->setGeometry(16, 16, 124, 22);
    etykieta->setToolTip(podpowiedzModelu);
    cbModelSterownika = new QComboBox(this);
    cbModelSterownika->setObjectName("cbModelSterownika");
    cbModelSterownika->setEditable(true);
    cbModelSterownika->addItems(Modele);
    cbModelSterownika->setCurrentText(Modele.front());
    cbModelSterownika->setGeometry(144, 16, 120, 22);
    cbModelSterownika->setToolTip(podpowiedzModelu);

    auto* inne = new QLabel(QStringLiteral("Inne opcje :"), this);
    inne->setGeometry(16, 48, 200, 18);
    auto* obszar = new QFrame(this);
    obszar->setGeometry(16, 68, 348, 204);
    obszar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    wyglad::UstawTlo(*obszar, kolory::TloRamkiDialogu);

    auto* grupa = new QGroupBox(QStringLiteral("Start w trybie:"), obszar);
    grupa->setGeometry(12, 8, 324, 48);
    OpcjaProgram = Wybor(grupa, "OpcjaProgram", QStringLiteral("PROGRAM"), 12,
                         QStringLiteral("Uruchamianie programu w trybie PROGRAM"));
    OpcjaMonitor = Wybor(grupa, "OpcjaMonitor", QStringLiteral("MONITOR"), 116,
                         QStringLiteral("Uruchamianie programu w trybie MONITOR"));
    OpcjaRun = Wybor(grupa, "OpcjaRun", QStringLiteral("RUN"), 220,
                     QStringLiteral("Uruchamianie programu w trybie RUN"));
    trybStartu_ = new QButtonGroup(this);
    for (QRadioButton* wybor : {OpcjaProgram, OpcjaMonitor, OpcjaRun})
        trybStartu_->addButton(wybor);
    OpcjaProgram->setChecked(true);

    cbZawszeNaWierzchu = Pole(obszar, "cbZawszeNaWierzchu", QStringLiteral("Zawsze na wierzchu"),
                              64, QStringLiteral("Zmiana sposobu wyświetlania okna"));
    cbZawszeNaWierzchu->setChecked(true);
    cbDzwieki = Pole(obszar, "cbDzwieki", QStringLiteral("Dźwięki załączania wyjść"), 90);
    cbKomunikacja =
        Pole(obszar, "cbKomunikacja", QStringLiteral("Brak obsługi portu szeregowego"), 116);
    cbPodtrzymanieLHA = Pole(
        obszar, "cbPodtrzymanieLHA", QStringLiteral("Podtrzymanie pamieci obszarów: AR, HR, LR"),
        142,
        QStringLiteral(
            "Opcja zachowuje zawartość słów z obszarów pam. AR, HR, LR po zamknięciu programu"));
    cbPodtrzymanieLHA->setEnabled(false);
    cbPodtrzymanieDM = Pole(obszar, "cbPodtrzymanieDM",
                            QStringLiteral("Podtrzymanie pamieci obszaru DM (słowa 0-255)"), 168,
                            QStringLiteral("Opcja ta pozwala na zachowanie zawartosci komorek "
                                           "pamieci DM0 - DM255 po zamknieciu programu"));
    cbPodtrzymanieDM->setChecked(true);

    Button2 = new QPushButton(QStringLiteral("&Ok"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(196, 288, 80, 26);
    Button2->setDefault(true);
    Button1 = new QPushButton(QStringLiteral("&Anuluj"), this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(284, 288, 80, 26);
}

// The controls are loaded when the dialog first shows, not each time it
// becomes active again: a choice made before one of its own message boxes
// must survive the box.
void TOpcje::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (zaladowane_)
        return;
    zaladowane_ = true;
    Bezpiecznie([this] { Inicjalizacja(); });
}

void TOpcje::Inicjalizacja() {
    const PlikIni& plik = okno_.Konfiguracja();
    cbZawszeNaWierzchu->setChecked(plik.Czytaj(opcje::ZawszeNaWierzchu));
    cbDzwieki->setChecked(plik.Czytaj(opcje::Dzwieki));
    cbKomunikacja->setChecked(plik.Czytaj(opcje::Komunikacja));
    cbPodtrzymanieLHA->setChecked(plik.Czytaj(opcje::PodtrzymanieLHA));
    cbPodtrzymanieDM->setChecked(plik.Czytaj(opcje::PodtrzymanieDM));
    // A file edited by hand may choose no start mode at all, which the group
    // must then show: it is not exclusive while it is loaded.
    trybStartu_->setExclusive(false);
    OpcjaProgram->setChecked(plik.Czytaj(opcje::Program));
    OpcjaMonitor->setChecked(plik.Czytaj(opcje::Monitor));
    OpcjaRun->setChecked(plik.Czytaj(opcje::Run));
    trybStartu_->setExclusive(true);

    const int model = okno_.ModelWUzyciu();
    if (model >= 1 && model <= Modele.size())
        cbModelSterownika->setCurrentText(Modele[model - 1]);
}

void TOpcje::OkClick() {
    okno_.UstawNaWierzchu(cbZawszeNaWierzchu->isChecked());
    PlikIni& plik = okno_.Konfiguracja();
    plik.Zapisz(opcje::PodtrzymanieLHA, cbPodtrzymanieLHA->isChecked());
    plik.Zapisz(opcje::PodtrzymanieDM, cbPodtrzymanieDM->isChecked());
    plik.Zapisz(opcje::ZawszeNaWierzchu, cbZawszeNaWierzchu->isChecked());
    plik.Zapisz(opcje::Program, OpcjaProgram->isChecked());
    plik.Zapisz(opcje::Monitor, OpcjaMonitor->isChecked());
    plik.Zapisz(opcje::Run, OpcjaRun->isChecked());
    plik.Zapisz(opcje::Dzwieki, cbDzwieki->isChecked());
    plik.Zapisz(opcje::Komunikacja, cbKomunikacja->isChecked());
    OdczytTypuCPU();
    accept();
}

void TOpcje::AnulujClick() {
    reject();
}

void TOpcje::OdczytTypuCPU() {
    PlikIni& plik = okno_.Konfiguracja();
    if (const auto model = Modele.indexOf(cbModelSterownika->currentText()); model >= 0)
        plik.Zapisz(opcje::CPU, static_cast<int>(model) + 1);
    if (plik.Czytaj(opcje::CPU) != okno_.ModelWUzyciu())
        KomunikatInformacja(this, QStringLiteral("Aby zmiany odniosły skutek należy ponownie "
                                                 "włączyc symulator."));
}

void TOpcje::SprawdzeniePlikuDM() {
    if (DlugoscPliku(okno_.PlikDM()) < NajkrotszyPlikDM && cbPodtrzymanieDM->isChecked()) {
        KomunikatZwykly(this, QStringLiteral("Dane w pliku DM.cpm są niekompletne.\n"
                                             "Aby odbudować plik zamknij i ponownie uruchom "
                                             "program."));
        cbPodtrzymanieDM->setChecked(false);
        okno_.UstawOdbudoweDM();
    }
}
