// The main window with the threads of the program running: the scan worker
// driving the output lamps, the ERR lamp, and an open port. GoogleTest with
// an application object of its own, so that no thread runs here but the
// program's (ThreadSanitizer sees these tests).
#include "Odpowiedzi.h"
#include "Stanowisko.h"

#include "panel/Kontrolka.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QThread>

#include <functional>
#include <thread>

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

// Runs the event loop until the condition holds; false after ten seconds,
// which only a fault makes happen.
bool CzekajAz(const std::function<bool()>& warunek) {
    QElapsedTimer czas;
    czas.start();
    while (!warunek()) {
        if (czas.hasExpired(10000))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

TEST(Skan, RunFromTheOptionsCopiesTheInputToTheOutput) {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Program.cpm", KopiaWejscia);
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nKomunikacja=1\r\nDzwieki=1\r\n"
                                 "[Opcje programu]\r\nProgram=0\r\nRun=1\r\n");
    TOkno& okno = s.Okno();
    okno.Suwak1->setValue(125);

    okno.Przycisk->click();
    ASSERT_TRUE(okno.Zalaczony());
    EXPECT_TRUE(okno.Lacze().FlagaRUN());
    EXPECT_EQ(okno.KontrolkaRUN->Kolor(), Zielona);
    EXPECT_EQ(s.pamiec->IR.slowo(250), 0x0125); // written again on entry
    EXPECT_TRUE(s.skan.Dziala());

    okno.Wejscie[0]->click();
    EXPECT_TRUE(CzekajAz([&] { return okno.w[0]->Kolor() == Czerwona; }));
    EXPECT_TRUE(CzekajAz([&] { return s.kliki.load() == 1; }));
    // Many more scans with the output still on: the click stays single.
    QThread::msleep(50);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.kliki.load(), 1);
    EXPECT_EQ(okno.w[1]->Kolor(), Projektowy);

    okno.Wejscie[0]->click();
    EXPECT_TRUE(CzekajAz([&] { return okno.w[0]->Kolor() == Zgaszona; }));
    okno.Wejscie[0]->click();
    EXPECT_TRUE(CzekajAz([&] { return okno.w[0]->Kolor() == Czerwona; }));

    okno.Przycisk->click();
    EXPECT_FALSE(s.skan.Dziala());
    QCoreApplication::processEvents(); // requests still queued must not relight it
    EXPECT_EQ(okno.w[0]->Kolor(), Zgaszona);
    EXPECT_EQ(okno.KontrolkaRUN->Kolor(), Zgaszona);
    EXPECT_EQ(s.kliki.load(), 2);
}

TEST(Skan, AWordThatCannotBeDecodedLightsERR) {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Program.cpm", "8ZZZ\r\n1801\r\n");
    s.Zapisz("Konfiguracja.ini",
             "[Opcje okna]\r\nKomunikacja=1\r\n[Opcje programu]\r\nProgram=0\r\nRun=1\r\n");
    TOkno& okno = s.Okno();

    okno.ZalaczenieSymulatora();
    EXPECT_TRUE(CzekajAz([&] { return okno.KontrolkaERR->Kolor() == Czerwona; }));
    EXPECT_FALSE(s.skan.Dziala());

    okno.ZalaczenieSymulatora();
    QCoreApplication::processEvents();
    EXPECT_EQ(okno.KontrolkaERR->Kolor(), ZgaszonaBledu);
}

TEST(Skan, ARequestArrivingLateCannotRelightALamp) {
    Stanowisko s;
    TOkno& okno = s.Okno();
    int zmiany = 0;
    QObject::connect(&s.lampy, &LampyWyjsc::ZmianaWyjscia, [&zmiany](int) { ++zmiany; });

    std::thread([&] {
        s.lampy.ZapalWyjscia(4);
        s.lampy.ZapalWyjscia(4); // unchanged: no second request
    }).join();
    EXPECT_EQ(okno.w[4]->Kolor(), Projektowy); // posted, not drawn from the worker
    EXPECT_EQ(zmiany, 0);
    EXPECT_TRUE(s.lampy.Zapalone(4));

    s.lampy.ZgasWyjscia(4); // the switch-off, before the request arrives
    EXPECT_EQ(okno.w[4]->Kolor(), Zgaszona);
    EXPECT_EQ(zmiany, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(okno.w[4]->Kolor(), Zgaszona);
}

TEST(Skan, ChoosingTheOtherPortSwitchesOffAndClosesThePort) {
    Stanowisko s;
    s.Instalacja();
    int master = -1;
    int slave = -1;
    char nazwa[256] = {};
    ASSERT_EQ(openpty(&master, &slave, nazwa, nullptr, nullptr), 0);
    {
        QSettings plik(QSettings::NativeFormat, QSettings::SystemScope, "Orvanta", "Parvolen");
        plik.setValue("Ports/COM2", QString::fromLocal8Bit(nazwa));
    }
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n");
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;

    okno.Przycisk->click();
    EXPECT_TRUE(odpowiedzi.teksty.isEmpty());
    EXPECT_TRUE(okno.ComPort.IsOpen());
    EXPECT_EQ(okno.KontrolkaPWR->Kolor(), Zielona);

    okno.RadioButton1->click();
    EXPECT_EQ(odpowiedzi.teksty,
              QStringList{QStringLiteral("Aktualnie otwarty port został zamknięty.")});
    EXPECT_FALSE(okno.ComPort.IsOpen());
    EXPECT_FALSE(okno.Zalaczony());
    EXPECT_EQ(okno.KontrolkaPWR->Kolor(), Zgaszona);
    EXPECT_NE(s.Czytaj("Konfiguracja.ini").find("Numer portu=1"), std::string::npos);

    ::close(slave);
    ::close(master);
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
