// The main window with the threads of the program running: the scan worker
// driving the output lamps, the ERR lamp, and an open port.
#include "Odpowiedzi.h"
#include "Stanowisko.h"

#include "panel/Kontrolka.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <thread>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {

const QColor Projektowy(0xCC, 0xEF, 0xCF);
const QColor Zgaszona(0xEE, 0xFE, 0xEE);
const QColor ZgaszonaBledu(0xFF, 0xF9, 0xF9);
const QColor Czerwona(0xFF, 0x00, 0x00);
const QColor Zielona(0x00, 0xFF, 0x00);

// LD IR 000.00, OUT IR 010.00 (its action word is then read as an LD), END.
const std::string KopiaWejscia = "8008\r\n20A8\r\n8000\r\n1801\r\n";

} // namespace

class SkanTest : public QObject {
    Q_OBJECT
private slots:
    void runZOpcjiKopiujeWejscieNaWyjscie();
    void slowoNieDoOdczytaniaZapalaERR();
    void spoznionePowiadomienieNieZapalaLampy();
    void portOtwartyIZamknietyZmianaWyboru();
};

void SkanTest::runZOpcjiKopiujeWejscieNaWyjscie() {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Program.cpm", KopiaWejscia);
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nKomunikacja=1\r\nDzwieki=1\r\n"
                                 "[Opcje programu]\r\nProgram=0\r\nRun=1\r\n");
    TOkno& okno = s.Okno();
    okno.Suwak1->setValue(125);

    okno.Przycisk->click();
    QVERIFY(okno.Zalaczony());
    QVERIFY(okno.Lacze().FlagaRUN());
    QCOMPARE(okno.KontrolkaRUN->Kolor(), Zielona);
    QCOMPARE(int{s.pamiec->IR.slowo(250)}, 0x0125); // written again on entry
    QVERIFY(s.skan.Dziala());

    okno.Wejscie[0]->click();
    QTRY_COMPARE(okno.w[0]->Kolor(), Czerwona);
    QTRY_COMPARE(s.kliki.load(), 1);
    QTest::qWait(50); // many scans with the output still on
    QCOMPARE(s.kliki.load(), 1);
    QCOMPARE(okno.w[1]->Kolor(), Projektowy);

    okno.Wejscie[0]->click();
    QTRY_COMPARE(okno.w[0]->Kolor(), Zgaszona);
    okno.Wejscie[0]->click();
    QTRY_COMPARE(okno.w[0]->Kolor(), Czerwona);

    okno.Przycisk->click();
    QVERIFY(!s.skan.Dziala());
    QCoreApplication::processEvents(); // requests still queued must not relight it
    QCOMPARE(okno.w[0]->Kolor(), Zgaszona);
    QCOMPARE(okno.KontrolkaRUN->Kolor(), Zgaszona);
    QCOMPARE(s.kliki.load(), 2);
}

void SkanTest::slowoNieDoOdczytaniaZapalaERR() {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Program.cpm", "8ZZZ\r\n1801\r\n");
    s.Zapisz("Konfiguracja.ini",
             "[Opcje okna]\r\nKomunikacja=1\r\n[Opcje programu]\r\nProgram=0\r\nRun=1\r\n");
    TOkno& okno = s.Okno();

    okno.ZalaczenieSymulatora();
    QTRY_COMPARE(okno.KontrolkaERR->Kolor(), Czerwona);
    QVERIFY(!s.skan.Dziala());

    okno.ZalaczenieSymulatora();
    QCoreApplication::processEvents();
    QCOMPARE(okno.KontrolkaERR->Kolor(), ZgaszonaBledu);
}

void SkanTest::spoznionePowiadomienieNieZapalaLampy() {
    Stanowisko s;
    TOkno& okno = s.Okno();
    QSignalSpy zmiany(&s.lampy, &LampyWyjsc::ZmianaWyjscia);

    std::thread([&] {
        s.lampy.ZapalWyjscia(4);
        s.lampy.ZapalWyjscia(4); // unchanged: no second request
    }).join();
    QCOMPARE(okno.w[4]->Kolor(), Projektowy); // posted, not drawn from the worker
    QCOMPARE(zmiany.count(), 0);
    QVERIFY(s.lampy.Zapalone(4));

    s.lampy.ZgasWyjscia(4); // the switch-off, before the request arrives
    QCoreApplication::processEvents();
    QCOMPARE(okno.w[4]->Kolor(), Zgaszona);
    QCOMPARE(zmiany.count(), 2);
}

void SkanTest::portOtwartyIZamknietyZmianaWyboru() {
    Stanowisko s;
    s.Instalacja();
    int master = -1;
    int slave = -1;
    char nazwa[256] = {};
    QVERIFY(openpty(&master, &slave, nazwa, nullptr, nullptr) == 0);
    {
        QSettings plik(QSettings::NativeFormat, QSettings::SystemScope, "Orvanta", "Parvolen");
        plik.setValue("Ports/COM2", QString::fromLocal8Bit(nazwa));
    }
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n");
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    QVERIFY(odpowiedzi.teksty.isEmpty());
    QVERIFY(okno.ComPort.IsOpen());
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zielona);

    okno.RadioButton1->click();
    QCOMPARE(odpowiedzi.teksty,
             QStringList{QStringLiteral("Aktualnie otwarty port został zamknięty.")});
    QVERIFY(!okno.ComPort.IsOpen());
    QVERIFY(!okno.Zalaczony());
    QCOMPARE(okno.KontrolkaPWR->Kolor(), Zgaszona);
    QVERIFY(s.Czytaj("Konfiguracja.ini").find("Numer portu=1") != std::string::npos);

    ::close(slave);
    ::close(master);
}

QTEST_MAIN(SkanTest)
#include "SkanTest.moc"
