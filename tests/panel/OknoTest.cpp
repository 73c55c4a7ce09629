// The main window without the scan worker running: creation, switch-on in
// PROGRAM and without a mode, switch-off, the failures of the switch-on,
// inputs, sliders, the sound check and DM retention, the welcome window, the
// port settings applied without an open port and the ERR lamp's flash.
#include "tests/wspolne/Modalne.h"
#include "tests/wspolne/Odpowiedzi.h"
#include "tests/wspolne/StanowiskoOkna.h"
#include "tests/wspolne/TcpClient.h"

#include "panel/IAeverButton.h"
#include "panel/Kolory.h"
#include "panel/Lampka.h"
#include "panel/OknoPowitalne.h"

#include "serial/VaConst.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <cstdlib>
#include <optional>

namespace {

using kolory::Biala;
using kolory::Czerwona;
using kolory::Projektowy;
using kolory::Zgaszona;
using kolory::ZgaszonaBledu;
using kolory::Zielona;

const QString KomunikatPortu =
    QStringLiteral("Wybrany port nie istnieje lub jest zajęty przez inną aplikację.\n"
                   "Proszę upewnić się, że wybrany port jest obsługiwany przez\n"
                   "ten komputer, wybrać inny port i ponownie włączyć program\n"
                   "lub w ustawieniach zaznaczyć opcję \"Brak obsługi portu\".");

// Start options: no port, and the given start-mode keys.
std::string Opcje(const std::string& tryby, const std::string& inne = "") {
    return "[Opcje okna]\r\nKomunikacja=1\r\n" + inne + "[Opcje programu]\r\n" + tryby;
}

// The staged installation, switched on in PROGRAM without a port.
TOkno& ZalaczonyWPROGRAM(Stanowisko& s) {
    s.Instalacja();
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\n"));
    TOkno& okno = s.Okno();
    okno.ZalaczenieSymulatora();
    return okno;
}

int LiczbaLinii(const std::string& tekst) {
    int linie = 0;
    for (std::size_t i = 0; i + 1 < tekst.size(); ++i) {
        if (tekst[i] == '\r' && tekst[i + 1] == '\n') {
            ++linie;
        }
    }
    return linie;
}

} // namespace

class OknoTest : public QObject {
    Q_OBJECT
private slots:
    void tworzenie();
    void wyborPortuZPliku_data();
    void wyborPortuZPliku();
    void podpowiedziPortowNazywajaUrzadzenia();
    void zalaczenieIWylaczenieWTrybiePROGRAM();
    void zalaczenieBezTrybuStartu();
    void brakPlikuProgramuZostawiaWylaczony();
    void zlyPlikDMZostawiaWylaczony_data();
    void zlyPlikDMZostawiaWylaczony();
    void nieudaneOtwarciePortu();
    void brakDzwiekuOstrzegaAZalaczenieTrwa_data();
    void brakDzwiekuOstrzegaAZalaczenieTrwa();
    void przelacznikiWejscPrzyWylaczonym();
    void suwakiZapisujaBCD_data();
    void suwakiZapisujaBCD();
    void podtrzymanieDM();
    void zapisDM_data();
    void zapisDM();
    void nieudanyZapisDMZostawiaOkno();
    void zamkniecieBezUdanegoZalaczeniaZachowujeDM_data();
    void zamkniecieBezUdanegoZalaczeniaZachowujeDM();
    void zmianaPortuZapisujeNumer();
    void zmianaPortuGdyZalaczonyBezPortu();
    void lampyWyjscPoWylaczeniu();
    void przyciskiKsztaltne();
    void przyciskZalaczeniaZmieniaLico();
    void powitanieOdTimer1();
    void ustawieniaPortuGdyWylaczony();
    void ustawieniaPortuGdyZalaczonyBezPortu();
    void bladLiniiBlyskaERR();
    void bladLiniiNieGasiBleduProgramu();
    void klientSieciZInnaLiniaNazwanyPrzyKontrolceCOMM();
    void pomoc_data();
    void pomoc();
};

void OknoTest::tworzenie() {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Konfiguracja.ini", "[Model sterownika]\r\nCPU=3\r\n[Opcje okna]\r\n"
                                 "ZawszeNaWierzchu=0\r\n");
    TOkno& okno = s.Okno();

    QCOMPARE(okno.windowTitle(), QStringLiteral("Parvolen ver 2.02"));
    QCOMPARE(okno.size(), QSize(424, 247));
    QCOMPARE(okno.KatalogDanych(), s.Sciezka("Program.cpm").parent_path());
    QCOMPARE(okno.PlikProgramu(), s.Sciezka("Program.cpm"));
    QCOMPARE(okno.ModelWUzyciu(), std::uint8_t{3});
    QVERIFY(!okno.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!okno.Zalaczony());

    const struct {
        const char* nazwa;
        const char* tytul;
    } przyciski[] = {{"Przycisk", "&Włącz"},
                     {"Button3", "&Port"},
                     {"Button2", "&Opcje"},
                     {"Button1", "&Info"},
                     {"Button4", "Pomo&c"}};
    for (const auto& p : przyciski) {
        const auto* przycisk = okno.findChild<TIAeverButton*>(p.nazwa);
        QVERIFY2(przycisk != nullptr, p.nazwa);
        QCOMPARE(przycisk->text(), QString::fromUtf8(p.tytul));
    }
    QCOMPARE(okno.Przycisk->ButtonColor(), QColor(0xDA, 0xFF, 0xEC));
    QCOMPARE(okno.Przycisk->ButtonColor1(), QColor(0x9F, 0xFF, 0xCF));
    for (int n = 0; n < 9; ++n) {
        const auto* przelacznik = okno.findChild<QCheckBox*>(QStringLiteral("Wejscie0%1").arg(n));
        QVERIFY(przelacznik != nullptr);
        QCOMPARE(przelacznik->text(), QStringLiteral("0&%1").arg(n));
        QCOMPARE(okno.findChild<Lampka*>(QStringLiteral("k%1").arg(n))->Kolor(), Projektowy);
        QCOMPARE(okno.findChild<Lampka*>(QStringLiteral("w%1").arg(n))->Kolor(), Projektowy);
        QCOMPARE(okno.findChild<Lampka*>(QStringLiteral("Shape%1").arg(20 + n))->Kolor(), Biala);
    }
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zgaszona);
    QCOMPARE(okno.KontrolkaRUN->Kolor(), Zgaszona);
    QCOMPARE(okno.KontrolkaERR->Kolor(), ZgaszonaBledu);
    QCOMPARE(okno.kontrolkaCOMM->Kolor(), ZgaszonaBledu);
    QCOMPARE(okno.KontrolkaERR->toolTip(), QStringLiteral("Brak błędów"));
    QCOMPARE(okno.Suwak1->maximum(), 200);
    QCOMPARE(okno.EditW1->text(), QStringLiteral("#0"));
    QCOMPARE(okno.Edit2->text(), QStringLiteral("SR250: "));
    QCOMPARE(okno.Edit1->text(), QStringLiteral("SR251: "));
    QVERIFY(!okno.TimerKontrolek->isActive());
    QCOMPARE(okno.TimerKontrolek->interval(), 80);
}

void OknoTest::wyborPortuZPliku_data() {
    QTest::addColumn<QString>("wpis");
    QTest::addColumn<bool>("com1");
    QTest::addColumn<QString>("urzadzenie");
    QTest::newRow("brak klucza") << "" << false << "COM2";
    QTest::newRow("1") << "Numer portu=1\r\n" << true << "COM1";
    QTest::newRow("2") << "Numer portu=2\r\n" << false << "COM2";
    QTest::newRow("3 zostawia COM 2") << "Numer portu=3\r\n" << false << "COM2";
    QTest::newRow("nie liczba") << "Numer portu=jeden\r\n" << false << "COM2";
}

void OknoTest::wyborPortuZPliku() {
    QFETCH(QString, wpis);
    QFETCH(bool, com1);
    QFETCH(QString, urzadzenie);
    Stanowisko s;
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\n" + wpis.toStdString());
    TOkno& okno = s.Okno();
    QCOMPARE(okno.RadioButton1->isChecked(), com1);
    QCOMPARE(okno.RadioButton2->isChecked(), !com1);
    QCOMPARE(QString::fromStdString(okno.ComPort.DeviceName()), urzadzenie);
    // Reading the choice writes nothing.
    QCOMPARE(s.Czytaj("Konfiguracja.ini"), "[Opcje okna]\r\n" + wpis.toStdString());
}

void OknoTest::podpowiedziPortowNazywajaUrzadzenia() {
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4321", 1);
    Stanowisko s;
    s.ustawienia.Zapisz(QSettings::UserScope, "Ports/COM1", "virtual");
    TOkno& okno = s.Okno();
    const QString brak = QString::fromStdString(s.Sciezka("brak/ttyS1").string());
    QCOMPARE(okno.RadioButton1->toolTip(),
             QStringLiteral("Wybór portu szeregowego\nCOM 1: port wirtualny, "
                            "/run/user/4321/parvolen/COM1"));
    QCOMPARE(okno.RadioButton2->toolTip(), "Wybór portu szeregowego\nCOM 2: " + brak);

    // The dialog sets the port chosen on the panel, in the user's own file.
    Odpowiedzi odpowiedzi;
    QVERIFY(!ZastosujUstawieniaPortu(okno, {.urzadzenie = QStringLiteral("/dev/null")}).isEmpty());
    QVERIFY(odpowiedzi.teksty.isEmpty());
    QCOMPARE(okno.RadioButton2->toolTip(),
             QStringLiteral("Wybór portu szeregowego\nCOM 2: /dev/null"));
    QCOMPARE(s.ustawienia.Czytaj(QSettings::UserScope, "Ports/COM2"), QStringLiteral("/dev/null"));
    QCOMPARE(s.ustawienia.Czytaj(QSettings::SystemScope, "Ports/COM2"), brak);
    QCOMPARE(s.ustawienia.Czytaj(QSettings::UserScope, "Ports/COM1"), QStringLiteral("virtual"));
}

void OknoTest::zalaczenieIWylaczenieWTrybiePROGRAM() {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Program.cpm", "8008\r\n20A8\r\n8000\r\n1801\r\n");
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\n"));
    TOkno& okno = s.Okno();
    s.pamiec->IR.ustaw(5, 3, 1); // cleared by the power-on reset
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    QVERIFY(odpowiedzi.teksty.isEmpty());
    QVERIFY(okno.Zalaczony());
    QVERIFY(!okno.ComPort.IsOpen());
    QCOMPARE(okno.Przycisk->text(), QStringLiteral("&Wyłącz"));
    QCOMPARE(okno.Przycisk->ButtonColor(), QColor(0xFF, 0xEA, 0xEA));
    QCOMPARE(okno.Przycisk->ButtonColor1(), QColor(0xFF, 0xAA, 0xAA));
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zielona);
    QCOMPARE(okno.KontrolkaRUN->Kolor(), Biala);
    QCOMPARE(s.program->liczbaLinii(), std::uint8_t{4});
    QCOMPARE(s.program->slowo(1), std::string("20A8"));
    QCOMPARE(s.pamiec->IR.bit(5, 3), std::uint8_t{0});
    QVERIFY(!s.skan.Dziala());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);

    okno.Przycisk->click();
    QVERIFY(!okno.Zalaczony());
    QCOMPARE(okno.Przycisk->text(), QStringLiteral("&Włącz"));
    QCOMPARE(okno.Przycisk->ButtonColor(), QColor(0xDA, 0xFF, 0xEC));
    QCOMPARE(okno.Przycisk->ButtonColor1(), QColor(0x9F, 0xFF, 0xCF));
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zgaszona);
    QCOMPARE(okno.KontrolkaRUN->Kolor(), Zgaszona);
    QCOMPARE(okno.KontrolkaERR->Kolor(), ZgaszonaBledu);
    QCOMPARE(okno.kontrolkaCOMM->Kolor(), ZgaszonaBledu);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void OknoTest::zalaczenieBezTrybuStartu() {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Konfiguracja.ini",
             Opcje("Program=0\r\nMonitor=0\r\nRun=0\r\n", "") + "[Model sterownika]\r\nCPU=2\r\n");
    TOkno& okno = s.Okno();
    okno.ZalaczenieSymulatora();
    QVERIFY(okno.Zalaczony());
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zielona);
    QCOMPARE(okno.KontrolkaRUN->Kolor(), Zgaszona);
    QVERIFY(!okno.Lacze().FlagaRUN());
    QVERIFY(!okno.Lacze().FlagaMONITOR());
    QVERIFY(!s.skan.Dziala());
    QCOMPARE(okno.ModelWUzyciu(), std::uint8_t{2}); // read again at switch-on
}

void OknoTest::brakPlikuProgramuZostawiaWylaczony() {
    Stanowisko s;
    s.Instalacja();
    std::filesystem::remove(s.Sciezka("Program.cpm"));
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\n"));
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    QCOMPARE(odpowiedzi.teksty.size(), 1);
    QCOMPARE(odpowiedzi.ikony.front(), QMessageBox::Critical);
    QCOMPARE(odpowiedzi.teksty.front(),
             QString::fromStdString("No such file or directory (" +
                                    s.Sciezka("Program.cpm").string() + ")"));
    QVERIFY(!okno.Zalaczony());
    QCOMPARE(okno.Przycisk->text(), QStringLiteral("&Włącz"));
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zgaszona);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// %1 in the message stands for the full path of DM.cpm.
void OknoTest::zlyPlikDMZostawiaWylaczony_data() {
    QTest::addColumn<QByteArray>("dm");
    QTest::addColumn<QString>("komunikat");
    QTest::newRow("brak pliku") << QByteArray() << "No such file or directory (%1)";
    QTest::newRow("nie liczba") << QByteArray("1\r\nabc\r\n3\r\n")
                                << "'abc' is not a valid integer value (DM.cpm, wiersz 2)";
    QTest::newRow("pusta linia") << QByteArray("1\r\n\r\n3\r\n")
                                 << "'' is not a valid integer value (DM.cpm, wiersz 2)";
}

void OknoTest::zlyPlikDMZostawiaWylaczony() {
    QFETCH(QByteArray, dm);
    QFETCH(QString, komunikat);
    Stanowisko s;
    s.Instalacja();
    if (dm.isEmpty()) {
        std::filesystem::remove(s.Sciezka("DM.cpm"));
    } else {
        s.Zapisz("DM.cpm", dm.toStdString());
    }
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\nPodtrzymanie DM=1\r\n"));
    TOkno& okno = s.Okno();
    s.pamiec->DM[0].store(77);
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    QCOMPARE(odpowiedzi.teksty.size(), 1);
    QCOMPARE(odpowiedzi.teksty.front(),
             komunikat.arg(QString::fromStdString(s.Sciezka("DM.cpm").string())));
    QVERIFY(!okno.Zalaczony());
    QCOMPARE(okno.Przycisk->text(), QStringLiteral("&Włącz"));
    QCOMPARE(s.pamiec->DM[0].load(), 77); // a bad file stores nothing
}

void OknoTest::nieudaneOtwarciePortu() {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nKomunikacja=0\r\n");
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    QCOMPARE(odpowiedzi.teksty, QStringList{KomunikatPortu});
    QCOMPARE(odpowiedzi.ikony.front(), QMessageBox::NoIcon);
    QVERIFY(!okno.Zalaczony());
    QVERIFY(!okno.ComPort.IsOpen());
    QCOMPARE(okno.Przycisk->text(), QStringLiteral("&Włącz"));
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zgaszona);
    QCOMPARE(QString::fromStdString(okno.ComPort.DeviceName()), QStringLiteral("COM2"));
}

void OknoTest::brakDzwiekuOstrzegaAZalaczenieTrwa_data() {
    QTest::addColumn<bool>("dzwieki");
    QTest::newRow("dzwieki wlaczone") << true;
    QTest::newRow("dzwieki wylaczone") << false;
}

void OknoTest::brakDzwiekuOstrzegaAZalaczenieTrwa() {
    QFETCH(bool, dzwieki);
    Stanowisko s;
    s.Instalacja();
    std::filesystem::remove(s.Sciezka("Klik.wav"));
    s.Zapisz("Konfiguracja.ini",
             Opcje("Program=1\r\n", dzwieki ? "Dzwieki=1\r\n" : "Dzwieki=0\r\n"));
    TOkno& okno = s.Okno();
    s.lampy.UstawDzwiek(true); // the flag keeps its value when the file is missing
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    QCOMPARE(odpowiedzi.teksty, QStringList{QStringLiteral("Brak pliku dźwiękowego!\n"
                                                           "Odtwarzanie dźwięków niemożliwe!")});
    QCOMPARE(odpowiedzi.ikony.front(), QMessageBox::Warning);
    QVERIFY(okno.Zalaczony());
    QVERIFY(s.lampy.Dzwiek());

    // With the file there, the option decides.
    okno.Przycisk->click();
    s.Zapisz("Klik.wav", "RIFF");
    okno.Przycisk->click();
    QCOMPARE(odpowiedzi.teksty.size(), 1);
    QCOMPARE(s.lampy.Dzwiek(), dzwieki);
}

void OknoTest::przelacznikiWejscPrzyWylaczonym() {
    Stanowisko s;
    TOkno& okno = s.Okno();
    okno.Wejscie[3]->click();
    QCOMPARE(s.pamiec->IR.bit(0, 3), std::uint8_t{1});
    QCOMPARE(okno.k[3]->Kolor(), Czerwona);
    QCOMPARE(okno.k[4]->Kolor(), Zgaszona); // every lamp shows its bit after a click
    okno.Wejscie[3]->click();
    QCOMPARE(s.pamiec->IR.bit(0, 3), std::uint8_t{0});
    QCOMPARE(okno.k[3]->Kolor(), Zgaszona);

    // The digit is the switch's keyboard accelerator.
    okno.show();
    QApplication::setActiveWindow(&okno);
    QVERIFY(QTest::qWaitForWindowActive(&okno));
    QTest::keyClick(&okno, Qt::Key_8, Qt::AltModifier);
    QTRY_VERIFY(okno.Wejscie[8]->isChecked()); // the shortcut's click is animated
    QTRY_COMPARE(s.pamiec->IR.bit(0, 8), std::uint8_t{1});
}

void OknoTest::suwakiZapisujaBCD_data() {
    QTest::addColumn<int>("pozycja");
    QTest::addColumn<int>("slowo");
    QTest::newRow("0") << 0 << 0x0000;
    QTest::newRow("9") << 9 << 0x0009;
    QTest::newRow("10") << 10 << 0x0010;
    QTest::newRow("125") << 125 << 0x0125;
    QTest::newRow("200") << 200 << 0x0200;
}

void OknoTest::suwakiZapisujaBCD() {
    QFETCH(int, pozycja);
    QFETCH(int, slowo);
    Stanowisko s;
    TOkno& okno = s.Okno();
    // Stale bits of both words must go.
    for (int b = 0; b < 16; ++b) {
        s.pamiec->IR.ustaw(250, b, 1);
        s.pamiec->IR.ustaw(251, b, 1);
    }
    okno.Suwak1->setValue(pozycja == 0 ? 1 : 0);
    okno.Suwak1->setValue(pozycja);
    okno.Suwak2->setValue(pozycja == 0 ? 1 : 0);
    okno.Suwak2->setValue(pozycja);
    QCOMPARE(okno.EditW1->text(), QStringLiteral("#%1").arg(pozycja));
    QCOMPARE(okno.EditW2->text(), QStringLiteral("#%1").arg(pozycja));
    QCOMPARE(int{s.pamiec->IR.slowo(250)}, slowo);
    QCOMPARE(int{s.pamiec->IR.slowo(251)}, slowo);
}

void OknoTest::podtrzymanieDM() {
    Stanowisko s;
    s.Instalacja();
    std::string dm;
    for (int k = 0; k < 255; ++k) {
        dm += std::to_string(k == 100 ? -1234 : k) + "\r\n";
    }
    s.Zapisz("DM.cpm", dm);
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\nPodtrzymanie DM=0\r\n"));
    TOkno& okno = s.Okno();

    okno.ZalaczenieSymulatora(); // retention off: the file is opened, nothing loaded
    QVERIFY(okno.Zalaczony());
    QCOMPARE(s.pamiec->DM[100].load(), 0);
    okno.ZalaczenieSymulatora();

    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\nPodtrzymanie DM=1\r\n"));
    s.pamiec->DM[300].store(5);
    okno.ZalaczenieSymulatora();
    QCOMPARE(s.pamiec->DM[7].load(), 7);
    QCOMPARE(s.pamiec->DM[100].load(), -1234);
    QCOMPARE(s.pamiec->DM[300].load(), 5); // past the file: untouched

    // Changed while on, restored by the next switch-on from the file as saved.
    s.pamiec->DM[100].store(42);
    okno.ZalaczenieSymulatora();
    okno.ZalaczenieSymulatora();
    QCOMPARE(s.pamiec->DM[100].load(), -1234);
}

// Memory holds this run's DM words once a switch-on has gone through; only
// then, or for a rebuild, does the close write DM.cpm.
void OknoTest::zapisDM_data() {
    QTest::addColumn<bool>("podtrzymanie");
    QTest::addColumn<bool>("odbudowa");
    QTest::addColumn<bool>("zalaczony");
    QTest::addColumn<bool>("zapisany");
    QTest::newRow("bez podtrzymania") << false << false << true << false;
    QTest::newRow("podtrzymanie po zalaczeniu") << true << false << true << true;
    QTest::newRow("podtrzymanie bez zalaczenia") << true << false << false << false;
    QTest::newRow("odbudowa bez podtrzymania") << false << true << false << true;
    QTest::newRow("odbudowa bez zalaczenia") << true << true << false << true;
}

void OknoTest::zapisDM() {
    QFETCH(bool, podtrzymanie);
    QFETCH(bool, odbudowa);
    QFETCH(bool, zalaczony);
    QFETCH(bool, zapisany);
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("DM.cpm", "1\r\n");
    s.Zapisz("Konfiguracja.ini", Opcje(std::string("Program=1\r\nPodtrzymanie DM=") +
                                       (podtrzymanie ? "1" : "0") + "\r\n"));
    TOkno& okno = s.Okno();
    if (odbudowa) {
        okno.UstawOdbudoweDM();
    }
    if (zalaczony) {
        okno.ZalaczenieSymulatora();
        QVERIFY(okno.Zalaczony());
        okno.ZalaczenieSymulatora();
    }
    for (int k = 0; k < plc::LiczbaDM; ++k) {
        s.pamiec->DM[static_cast<std::size_t>(k)].store(k - 3);
    }

    QCloseEvent zamkniecie;
    QApplication::sendEvent(&okno, &zamkniecie);
    QVERIFY(zamkniecie.isAccepted());
    const std::string dm = s.Czytaj("DM.cpm");
    if (!zapisany) {
        QCOMPARE(dm, std::string("1\r\n"));
        return;
    }
    QCOMPARE(LiczbaLinii(dm), 255);
    QVERIFY(dm.starts_with("-3\r\n-2\r\n-1\r\n0\r\n1\r\n"));
    QVERIFY(dm.ends_with("\r\n250\r\n251\r\n"));
}

void OknoTest::nieudanyZapisDMZostawiaOkno() {
    Stanowisko s;
    std::filesystem::create_directory(s.Sciezka("DM.cpm")); // cannot be replaced by a file
    s.Zapisz("Konfiguracja.ini", "[Opcje programu]\r\nPodtrzymanie DM=1\r\n");
    TOkno& okno = s.Okno();
    okno.UstawOdbudoweDM();
    Odpowiedzi odpowiedzi;

    QCloseEvent zamkniecie;
    QApplication::sendEvent(&okno, &zamkniecie);
    QVERIFY(!zamkniecie.isAccepted());
    QCOMPARE(odpowiedzi.teksty.size(), 1);
    QCOMPARE(odpowiedzi.teksty.front(),
             QString::fromStdString("Is a directory (" + s.Sciezka("DM.cpm").string() + ")"));
    QCOMPARE(odpowiedzi.ikony.front(), QMessageBox::Critical);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// The retained words of DM.cpm outlive a run that never had them in memory:
// one closed without a switch-on, or whose every switch-on stopped at a bad
// line of the file.
void OknoTest::zamkniecieBezUdanegoZalaczeniaZachowujeDM_data() {
    QTest::addColumn<QByteArray>("wiersz101");
    QTest::addColumn<int>("zalaczen");
    QTest::addColumn<QString>("komunikat");
    QTest::newRow("bez zalaczenia") << QByteArray("100") << 0 << QString();
    QTest::newRow("nie liczba") << QByteArray("abc") << 2
                                << "'abc' is not a valid integer value (DM.cpm, wiersz 101)";
    QTest::newRow("poza zakresem")
        << QByteArray("99999999999") << 1
        << "'99999999999' is not a valid integer value (DM.cpm, wiersz 101)";
}

void OknoTest::zamkniecieBezUdanegoZalaczeniaZachowujeDM() {
    QFETCH(QByteArray, wiersz101);
    QFETCH(int, zalaczen);
    QFETCH(QString, komunikat);
    Stanowisko s;
    s.Instalacja();
    std::string dm;
    for (int k = 0; k < 255; ++k) {
        dm += (k == 100 ? wiersz101.toStdString() : std::to_string(1000 + k)) + "\r\n";
    }
    s.Zapisz("DM.cpm", dm);
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\nPodtrzymanie DM=1\r\n"));
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;

    for (int i = 0; i < zalaczen; ++i) {
        okno.Przycisk->click();
        QVERIFY(!okno.Zalaczony());
    }

    QCloseEvent zamkniecie;
    QApplication::sendEvent(&okno, &zamkniecie);
    QVERIFY(zamkniecie.isAccepted());
    QCOMPARE(s.Czytaj("DM.cpm"), dm);
    QCOMPARE(odpowiedzi.teksty, QStringList(zalaczen, komunikat));
}

void OknoTest::zmianaPortuZapisujeNumer() {
    Stanowisko s;
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n");
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;
    okno.RadioButton1->click();
    QCOMPARE(s.Czytaj("Konfiguracja.ini"), std::string("[Opcje okna]\r\nNumer portu=1\r\n"));
    QVERIFY(odpowiedzi.teksty.isEmpty()); // nothing was open
    // The device follows at the next switch-on, not before.
    QCOMPARE(QString::fromStdString(okno.ComPort.DeviceName()), QStringLiteral("COM2"));
    okno.RadioButton2->click();
    QCOMPARE(s.Czytaj("Konfiguracja.ini"), std::string("[Opcje okna]\r\nNumer portu=2\r\n"));
}

void OknoTest::lampyWyjscPoWylaczeniu() {
    Stanowisko s;
    TOkno& okno = ZalaczonyWPROGRAM(s);
    s.lampy.ZapalWyjscia(2); // as the scan would, here on the window thread
    s.lampy.ZapalWyjscia(2);
    QCOMPARE(okno.w[2]->Kolor(), Czerwona);
    QCOMPARE(s.kliki.load(), 0); // the sound flag is off

    okno.ZalaczenieSymulatora();
    QCOMPARE(okno.w[2]->Kolor(), Zgaszona);
    QCOMPARE(okno.w[0]->Kolor(), Projektowy); // never lit
    QVERIFY(!s.lampy.Zapalone(2));
}

void OknoTest::zmianaPortuGdyZalaczonyBezPortu() {
    Stanowisko s;
    TOkno& okno = ZalaczonyWPROGRAM(s);
    Odpowiedzi odpowiedzi;

    okno.RadioButton1->click();
    QVERIFY(odpowiedzi.teksty.isEmpty()); // no port was open, so none was closed
    QVERIFY(okno.Zalaczony());
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zielona);
    QVERIFY(s.Czytaj("Konfiguracja.ini").find("Numer portu=1\r\n") != std::string::npos);
}

void OknoTest::przyciskiKsztaltne() {
    Stanowisko s;
    TOkno& okno = s.Okno();
    const QColor maly(0xE8, 0xFE, 0xFF);
    const QColor maly1(0xB6, 0xEB, 0xFA);
    const struct {
        TIAeverButton* przycisk;
        QSize rozmiar;
        QColor kolor;
        QColor kolor1;
        bool userRGNAUTO;
        int wierzcholki;
    } przyciski[] = {
        {okno.Przycisk, {76, 22}, QColor(0xDA, 0xFF, 0xEC), QColor(0x9F, 0xFF, 0xCF), false, 10},
        {okno.Button1, {56, 16}, maly, maly1, true, 6},
        {okno.Button2, {56, 16}, maly, maly1, true, 6},
        {okno.Button3, {56, 16}, maly, maly1, true, 6},
        {okno.Button4, {56, 16}, maly, maly1, true, 6},
    };
    for (const auto& p : przyciski) {
        const QByteArray nazwa = p.przycisk->objectName().toUtf8();
        QVERIFY2(p.przycisk->ButtonKind() == bkRoundRect, nazwa);
        QVERIFY2(p.przycisk->GradientKind() == gkLinear, nazwa);
        QVERIFY2(p.przycisk->Button3DKind() == dk3D, nazwa);
        QVERIFY2(p.przycisk->Caption3dKind() == ckSimple, nazwa);
        QCOMPARE(p.przycisk->GradientAngle(), 0);
        QVERIFY2(!p.przycisk->ShowFocusRGN(), nazwa);
        QCOMPARE(p.przycisk->ButtonDepth(), 2);
        QCOMPARE(p.przycisk->size(), p.rozmiar);
        QCOMPARE(p.przycisk->ButtonWidth(), p.rozmiar.width());
        QCOMPARE(p.przycisk->ButtonHeight(), p.rozmiar.height());
        QCOMPARE(p.przycisk->ButtonColor(), p.kolor);
        QCOMPARE(p.przycisk->ButtonColor1(), p.kolor1);
        QCOMPARE(p.przycisk->UserRGNAUTO(), p.userRGNAUTO);
        QCOMPARE(p.przycisk->PeaksNumber(), p.wierzcholki);
        // The rounded shape is the button: its cut corner is not part of it.
        QVERIFY2(!p.przycisk->WindowRegion().contains(QPoint(0, 0)), nazwa);
        QVERIFY2(p.przycisk->WindowRegion().contains(QPoint(p.rozmiar.width() / 2, 1)), nazwa);
    }
}

// The face, not only the properties, changes with the state: a pixel of the
// second gradient band, left of the caption and inside the bevel.
void OknoTest::przyciskZalaczeniaZmieniaLico() {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\n"));
    TOkno& okno = s.Okno();
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    const auto piksel = [&okno] { return okno.Przycisk->grab().toImage().pixelColor(10, 4); };
    QCOMPARE(piksel(), QColor(210, 255, 232)); // #DAFFEC + (#9FFFCF - #DAFFEC) / 7

    // (QTest would read (0, 0) as the centre.)
    QTest::mouseClick(okno.Przycisk, Qt::LeftButton, {}, QPoint(1, 0));
    QVERIFY(!okno.Zalaczony()); // outside the rounded corner
    QTest::mouseClick(okno.Przycisk, Qt::LeftButton, {}, QPoint(38, 11));
    QVERIFY(okno.Zalaczony());
    QCOMPARE(piksel(), QColor(255, 225, 225)); // #FFEAEA + (#FFAAAA - #FFEAEA) / 7

    QTest::mouseClick(okno.Przycisk, Qt::LeftButton, {}, QPoint(38, 11));
    QVERIFY(!okno.Zalaczony());
    QCOMPARE(piksel(), QColor(210, 255, 232));
}

void OknoTest::powitanieOdTimer1() {
    Stanowisko s;
    s.okno = std::make_unique<TOkno>(*s.pamiec, *s.program, s.skan, s.lampy);
    TOkno& okno = *s.okno;
    QVERIFY(okno.Timer1->isActive());
    QVERIFY(okno.Timer1->isSingleShot());
    QCOMPARE(okno.Timer1->interval(), 1);
    const QPointer<TOknoPowitalne> powitalne = okno.OknoPowitalne;
    QVERIFY(powitalne);
    QVERIFY(!powitalne->isVisible());
    okno.show();

    struct {
        bool modalne = false;
        int odliczanie = -1;
        bool zamknieciePrzedZerem = true;
        QString napis;
    } widziane;
    WOknieModalnym<TOknoPowitalne> wOknie([&widziane](TOknoPowitalne& o) {
        widziane.modalne = o.isModal();
        widziane.odliczanie = o.Odliczanie();
        widziane.zamknieciePrzedZerem = o.close();
        for (int i = 0; i < 10; ++i) {
            o.Licznik();
        }
        auto* przycisk = o.findChild<QPushButton*>(QStringLiteral("Button1"));
        widziane.napis = przycisk->text();
        przycisk->click();
    });
    QMetaObject::invokeMethod(okno.Timer1, "timeout"); // its one tick
    QVERIFY(wOknie.wykonane);
    QVERIFY(widziane.modalne);
    QCOMPARE(widziane.odliczanie, 10);
    QVERIFY(!widziane.zamknieciePrzedZerem);
    QCOMPARE(widziane.napis, QStringLiteral("Zamknij okno"));
    QVERIFY(!okno.Timer1->isActive());
    QVERIFY(powitalne.isNull()); // released when it closed
    QVERIFY(okno.OknoPowitalne.isNull());
    okno.OknoPow(); // a stray tick finds nothing to show
}

void OknoTest::ustawieniaPortuGdyWylaczony() {
    Stanowisko s;
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;

    QCOMPARE(ZastosujUstawieniaPortu(okno, {"19200", "8", "Brak", "1"}), QStringLiteral("9600"));
    QVERIFY(odpowiedzi.teksty.isEmpty());
    QCOMPARE(okno.ComPort.Baudrate(), br19200);
    QCOMPARE(okno.ComPort.Databits(), db8);
    QCOMPARE(okno.ComPort.Stopbits(), sb1);
    QCOMPARE(okno.ComPort.Parity(), paEven); // the parity list is not applied
    QVERIFY(okno.ComPort.ParityCheck());
    QVERIFY(!okno.ComPort.IsOpen());
    QVERIFY(!okno.Zalaczony());
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zgaszona);

    // Every opening starts from the initial texts, not from what was applied;
    // a rate the port does not know leaves the rate and applies the rest.
    QCOMPARE(ZastosujUstawieniaPortu(okno, {"600", "7", "Znacznik", "15"}), QStringLiteral("9600"));
    QVERIFY(odpowiedzi.teksty.isEmpty()); // a closed port takes 1.5 stop bits
    QCOMPARE(okno.ComPort.Baudrate(), br19200);
    QCOMPARE(okno.ComPort.Databits(), db7);
    QCOMPARE(okno.ComPort.Stopbits(), sb15);
}

void OknoTest::ustawieniaPortuGdyZalaczonyBezPortu() {
    Stanowisko s;
    TOkno& okno = ZalaczonyWPROGRAM(s);
    Odpowiedzi odpowiedzi;

    ZastosujUstawieniaPortu(okno, {"38400", "8", "Parzyste", "2"});
    QVERIFY(odpowiedzi.teksty.isEmpty());
    QCOMPARE(okno.ComPort.Baudrate(), br38400);
    QVERIFY(!okno.ComPort.IsOpen()); // none was open, none is opened
    QVERIFY(okno.Zalaczony());
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zielona);
    QCOMPARE(okno.KontrolkaRUN->Kolor(), Biala); // still in PROGRAM

    okno.Przycisk->click();
    QVERIFY(!okno.Zalaczony());
}

void OknoTest::bladLiniiBlyskaERR() {
    Stanowisko s;
    TOkno& okno = ZalaczonyWPROGRAM(s);
    QVERIFY(okno.ComPort.OnError);
    QVERIFY(okno.TimerBledu->isSingleShot());
    QCOMPARE(okno.TimerBledu->interval(), 80);

    okno.ComPort.OnError(okno.ComPort,
                         static_cast<std::int32_t>(CE_FRAME)); // as the port raises it
    QCOMPARE(okno.KontrolkaERR->Kolor(), Czerwona);
    QVERIFY(okno.TimerBledu->isActive());
    QMetaObject::invokeMethod(okno.TimerBledu, "timeout");
    QCOMPARE(okno.KontrolkaERR->Kolor(), ZgaszonaBledu);
    QVERIFY(!okno.TimerBledu->isActive());

    // A switch-off during the flash puts it out for good.
    okno.ComPort.OnError(okno.ComPort, static_cast<std::int32_t>(CE_RXPARITY | CE_OVERRUN));
    QCOMPARE(okno.KontrolkaERR->Kolor(), Czerwona);
    okno.ZalaczenieSymulatora();
    QCOMPARE(okno.KontrolkaERR->Kolor(), ZgaszonaBledu);
    QVERIFY(!okno.TimerBledu->isActive());
}

void OknoTest::bladLiniiNieGasiBleduProgramu() {
    Stanowisko s;
    TOkno& okno = s.Okno();

    s.lampy.BladProgramu(); // a scan ended on a bad word
    okno.BladObslugiPortu(CE_BREAK);
    QMetaObject::invokeMethod(okno.TimerBledu, "timeout");
    QCOMPARE(okno.KontrolkaERR->Kolor(), Czerwona);

    // The other way round: a mode entry clears the scan's error during a flash.
    okno.BladObslugiPortu(CE_BREAK);
    okno.ZgasKontrolkeERR();
    QCOMPARE(okno.KontrolkaERR->Kolor(), Czerwona);
    QMetaObject::invokeMethod(okno.TimerBledu, "timeout");
    QCOMPARE(okno.KontrolkaERR->Kolor(), ZgaszonaBledu);
}

// Stands in for the desktop's browser launcher: takes every file URL.
class Przegladarka : public QObject {
    Q_OBJECT
public:
    Przegladarka() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "otworz"); }
    ~Przegladarka() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    Przegladarka(const Przegladarka&) = delete;
    Przegladarka& operator=(const Przegladarka&) = delete;

    QList<QUrl> otwarte;

public slots:
    void otworz(const QUrl& adres) { otwarte << adres; }
};

// The offscreen platform has no launcher, so the page cannot be opened
// there: the user is told where it is. The page is looked for in the current
// directory (the data directory here) first.
void OknoTest::pomoc_data() {
    QTest::addColumn<bool>("strona");
    QTest::addColumn<bool>("przegladarka");
    QTest::newRow("bez przegladarki") << true << false;
    QTest::newRow("z przegladarka") << true << true;
    QTest::newRow("brak strony") << false << false;
}

void OknoTest::pomoc() {
    QFETCH(bool, strona);
    QFETCH(bool, przegladarka);
    Stanowisko s;
    s.Instalacja();
    const QString sciezka = QString::fromStdString(s.Sciezka("Pomoc/help.html").string());
    if (strona) {
        std::filesystem::create_directories(s.Sciezka("Pomoc"));
        s.Zapisz("Pomoc/help.html", "<html/>");
    }
    TOkno& okno = s.Okno();
    std::optional<Przegladarka> launcher;
    if (przegladarka) {
        launcher.emplace();
    }
    Odpowiedzi odpowiedzi;

    okno.Button4->click();
    if (przegladarka) {
        QVERIFY(odpowiedzi.teksty.isEmpty());
        QCOMPARE(launcher->otwarte, QList<QUrl>{QUrl::fromLocalFile(sciezka)});
        return;
    }
    QCOMPARE(odpowiedzi.teksty.size(), 1);
    QCOMPARE(odpowiedzi.ikony, QList<QMessageBox::Icon>{QMessageBox::Warning});
    if (strona) {
        QCOMPARE(odpowiedzi.teksty.front(),
                 QStringLiteral("Nie można otworzyć pliku pomocy w przeglądarce.\n"
                                "Proszę otworzyć go ręcznie:\n") +
                     sciezka);
    } else {
        const QStringList wiersze = odpowiedzi.teksty.front().split(u'\n');
        QCOMPARE(wiersze.front(),
                 QStringLiteral("Nie znaleziono pliku pomocy Pomoc/help.html w katalogach:"));
        QCOMPARE(wiersze.value(1), QString::fromStdString(s.Sciezka("").parent_path().string()));
        QCOMPARE(wiersze.size(), 4);
    }
}

// An RFC 2217 client asks for 8N1 on the controller's 7E2 port: it is
// answered all the same, and the COMM lamp's hint names both lines until the
// client goes.
void OknoTest::klientSieciZInnaLiniaNazwanyPrzyKontrolceCOMM() {
    Stanowisko s;
    s.Instalacja();
    const std::uint16_t tcp = FreeTcpPort();
    s.ustawienia.Zapisz(QSettings::UserScope, "Ports/COM1",
                        QStringLiteral("rfc2217://127.0.0.1:%1").arg(tcp));
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nKomunikacja=0\r\nNumer portu=1\r\n"
                                 "[Opcje programu]\r\nProgram=1\r\n");
    TOkno& okno = s.Okno();
    okno.Przycisk->click();
    QVERIFY(okno.ComPort.IsOpen());
    const QString podpowiedz = okno.kontrolkaCOMM->toolTip();

    const std::string niezgodnosc = "Klient ustawił 8N1, sterownik pracuje na 7E2";
    {
        TcpClient klient(tcp);
        QVERIFY(klient.IsOpen());
        klient.Send(kWillComPort + ComPortRequest("\x02\x08") + ComPortRequest("\x03\x01") +
                    ComPortRequest("\x04\x01"));
        QTRY_COMPARE(okno.kontrolkaCOMM->toolTip(),
                     podpowiedz + "\n" + QString::fromStdString(niezgodnosc));
        const std::string odpowiedz = klient.Ask("@00MB1A0300*\r");
        QVERIFY2(odpowiedz.ends_with("@00MB00110000010E01000000000000000000003A*\r"),
                 odpowiedz.c_str());
        QCOMPARE(okno.OpisKlientaSieci(), niezgodnosc);
    }
    QTRY_COMPARE(okno.kontrolkaCOMM->toolTip(), podpowiedz);
    okno.Przycisk->click();
}

QTEST_MAIN(OknoTest)
#include "OknoTest.moc"
