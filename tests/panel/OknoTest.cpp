// The main window without the scan worker running: creation, switch-on in
// PROGRAM and without a mode, switch-off, the failures of the switch-on,
// inputs, sliders, the sound check and DM retention.
#include "Odpowiedzi.h"
#include "Stanowisko.h"

#include "panel/KatalogDanych.h"
#include "panel/Kontrolka.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

namespace {

const QColor Projektowy(0xCC, 0xEF, 0xCF);
const QColor Zgaszona(0xEE, 0xFE, 0xEE);
const QColor ZgaszonaBledu(0xFF, 0xF9, 0xF9);
const QColor Czerwona(0xFF, 0x00, 0x00);
const QColor Zielona(0x00, 0xFF, 0x00);
const QColor Biala(0xFF, 0xFF, 0xFF);

const QString KomunikatPortu =
    QStringLiteral("Wybrany port nie istnieje lub jest zajęty przez inną aplikację.\n"
                   "Proszę upewnić się, że wybrany port jest obsługiwany przez\n"
                   "ten komputer, wybrać inny port i ponownie włączyć program\n"
                   "lub w ustawieniach zaznaczyć opcję \"Brak obsługi portu\".");

// Start options: no port, and the given start-mode keys.
std::string Opcje(const std::string& tryby, const std::string& inne = "") {
    return "[Opcje okna]\r\nKomunikacja=1\r\n" + inne + "[Opcje programu]\r\n" + tryby;
}

int LiczbaLinii(const std::string& tekst) {
    int linie = 0;
    for (std::size_t i = 0; i + 1 < tekst.size(); ++i)
        if (tekst[i] == '\r' && tekst[i + 1] == '\n')
            ++linie;
    return linie;
}

} // namespace

class OknoTest : public QObject {
    Q_OBJECT
private slots:
    void tworzenie();
    void katalogDanychBezWpisu();
    void wyborPortuZPliku_data();
    void wyborPortuZPliku();
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
    void zmianaPortuZapisujeNumer();
    void lampyWyjscPoWylaczeniu();
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
        const auto* przycisk = okno.findChild<QPushButton*>(p.nazwa);
        QVERIFY2(przycisk != nullptr, p.nazwa);
        QCOMPARE(przycisk->text(), QString::fromUtf8(p.tytul));
    }
    QCOMPARE(okno.Przycisk->property("ButtonColor").value<QColor>(), QColor(0xDA, 0xFF, 0xEC));
    QCOMPARE(okno.Przycisk->property("ButtonColor1").value<QColor>(), QColor(0x9F, 0xFF, 0xCF));
    for (int n = 0; n < 9; ++n) {
        const auto* przelacznik = okno.findChild<QCheckBox*>(QStringLiteral("Wejscie0%1").arg(n));
        QVERIFY(przelacznik != nullptr);
        QCOMPARE(przelacznik->text(), QStringLiteral("0&%1").arg(n));
        QCOMPARE(okno.findChild<Kontrolka*>(QStringLiteral("k%1").arg(n))->Kolor(), Projektowy);
        QCOMPARE(okno.findChild<Kontrolka*>(QStringLiteral("w%1").arg(n))->Kolor(), Projektowy);
        QCOMPARE(okno.findChild<Kontrolka*>(QStringLiteral("Shape%1").arg(20 + n))->Kolor(), Biala);
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

void OknoTest::katalogDanychBezWpisu() {
    QTemporaryDir ustawienia;
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, ustawienia.path());
    QCOMPARE(QString::fromStdString(KatalogDanych().string()),
             QCoreApplication::applicationDirPath());
    QDir().mkpath(ustawienia.filePath("Orvanta"));
    QSettings plik(ustawienia.filePath("Orvanta/Parvolen.conf"), QSettings::IniFormat);
    plik.setValue("Setup/InstallPath", "");
    plik.sync();
    QCOMPARE(QString::fromStdString(KatalogDanych().string()),
             QCoreApplication::applicationDirPath());
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
    QCOMPARE(okno.Przycisk->property("ButtonColor").value<QColor>(), QColor(0xFF, 0xEA, 0xEA));
    QCOMPARE(okno.Przycisk->property("ButtonColor1").value<QColor>(), QColor(0xFF, 0xAA, 0xAA));
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
    QCOMPARE(okno.Przycisk->property("ButtonColor").value<QColor>(), QColor(0xDA, 0xFF, 0xEC));
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
    QVERIFY(odpowiedzi.teksty.front().contains(QStringLiteral("No such file or directory")));
    QVERIFY(!okno.Zalaczony());
    QCOMPARE(okno.Przycisk->text(), QStringLiteral("&Włącz"));
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zgaszona);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void OknoTest::zlyPlikDMZostawiaWylaczony_data() {
    QTest::addColumn<QByteArray>("dm");
    QTest::addColumn<QString>("komunikat");
    QTest::newRow("brak pliku") << QByteArray() << "No such file or directory";
    QTest::newRow("nie liczba") << QByteArray("1\r\nabc\r\n3\r\n")
                                << "'abc' is not a valid integer value";
    QTest::newRow("pusta linia") << QByteArray("1\r\n\r\n3\r\n")
                                 << "'' is not a valid integer value";
}

void OknoTest::zlyPlikDMZostawiaWylaczony() {
    QFETCH(QByteArray, dm);
    QFETCH(QString, komunikat);
    Stanowisko s;
    s.Instalacja();
    if (dm.isEmpty())
        std::filesystem::remove(s.Sciezka("DM.cpm"));
    else
        s.Zapisz("DM.cpm", dm.toStdString());
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\nPodtrzymanie DM=1\r\n"));
    TOkno& okno = s.Okno();
    s.pamiec->DM[0].store(77);
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    QCOMPARE(odpowiedzi.teksty.size(), 1);
    QVERIFY2(odpowiedzi.teksty.front().contains(komunikat), qPrintable(odpowiedzi.teksty.front()));
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
    for (int k = 0; k < 255; ++k)
        dm += std::to_string(k == 100 ? -1234 : k) + "\r\n";
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

void OknoTest::zapisDM_data() {
    QTest::addColumn<bool>("podtrzymanie");
    QTest::addColumn<bool>("odbudowa");
    QTest::addColumn<bool>("zapisany");
    QTest::newRow("bez podtrzymania") << false << false << false;
    QTest::newRow("podtrzymanie") << true << false << true;
    QTest::newRow("odbudowa bez podtrzymania") << false << true << true;
}

void OknoTest::zapisDM() {
    QFETCH(bool, podtrzymanie);
    QFETCH(bool, odbudowa);
    QFETCH(bool, zapisany);
    Stanowisko s;
    s.Zapisz("DM.cpm", "1\r\n");
    s.Zapisz("Konfiguracja.ini", std::string("[Opcje programu]\r\nPodtrzymanie DM=") +
                                     (podtrzymanie ? "1" : "0") + "\r\n");
    TOkno& okno = s.Okno();
    if (odbudowa)
        okno.UstawOdbudoweDM();
    for (int k = 0; k < plc::LiczbaDM; ++k)
        s.pamiec->DM[static_cast<std::size_t>(k)].store(k - 3);

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
    Odpowiedzi odpowiedzi;

    QCloseEvent zamkniecie;
    QApplication::sendEvent(&okno, &zamkniecie);
    QVERIFY(!zamkniecie.isAccepted());
    QCOMPARE(odpowiedzi.teksty.size(), 1);
    QCOMPARE(odpowiedzi.ikony.front(), QMessageBox::Critical);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
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
    s.Instalacja();
    s.Zapisz("Konfiguracja.ini", Opcje("Program=1\r\n"));
    TOkno& okno = s.Okno();
    okno.ZalaczenieSymulatora();
    s.lampy.ZapalWyjscia(2); // as the scan would, here on the window thread
    s.lampy.ZapalWyjscia(2);
    QCOMPARE(okno.w[2]->Kolor(), Czerwona);
    QCOMPARE(s.kliki.load(), 0); // the sound flag is off

    okno.ZalaczenieSymulatora();
    QCOMPARE(okno.w[2]->Kolor(), Zgaszona);
    QCOMPARE(okno.w[0]->Kolor(), Projektowy); // never lit
    QVERIFY(!s.lampy.Zapalone(2));
}

QTEST_MAIN(OknoTest)
#include "OknoTest.moc"
