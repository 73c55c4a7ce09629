// The main window with the threads of the program running: the scan worker
// driving the output lamps, the ERR lamp, and an open port, also while its
// settings are applied. GoogleTest with an application object of its own, so
// that no thread runs here but the program's (ThreadSanitizer sees these
// tests).
#include "tests/wspolne/Modalne.h"
#include "tests/wspolne/Odpowiedzi.h"
#include "tests/wspolne/StanowiskoOkna.h"

#include "tests/wspolne/Gospodarz.h"

#include "panel/IAeverButton.h"
#include "panel/Kolory.h"
#include "panel/Lampka.h"

#include "engine/MapaAdresow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSlider>
#include <QThread>

#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using kolory::Czerwona;
using kolory::Projektowy;
using kolory::Zgaszona;
using kolory::ZgaszonaBledu;
using kolory::Zielona;

// LD IR 000.00, OUT IR 010.00 (its action word is then read as an LD), END.
const std::string KopiaWejscia = "8008\r\n20A8\r\n8000\r\n1801\r\n";

// Runs the event loop until the condition holds; false after ten seconds,
// which only a fault makes happen.
bool CzekajAz(const std::function<bool()>& warunek) {
    QElapsedTimer czas;
    czas.start();
    while (!warunek()) {
        if (czas.hasExpired(10000)) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop while the worker makes n more passes: each pass ends by
// putting the comparison flags out, so a flag set here and found out again
// marks one pass (the programs here compare nothing).
bool CzekajNaPrzebiegi(plc::Pamiec& pamiec, int n) {
    for (int i = 0; i < n; ++i) {
        pamiec.IR.ustaw(plc::Wiekszy, 1);
        if (!CzekajAz([&] { return pamiec.IR.bit(plc::Wiekszy) == 0; })) {
            return false;
        }
    }
    return true;
}

// The line: the programming software's side of a pty pair, whose slave the
// program opens under the name COM2. The test holds the slave open as well,
// to read the line settings and so that the line is not hung up while the
// program reopens it.
class Linia {
public:
    Linia() : slave_(::open(host_.Sciezka().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        QSettings plik(QSettings::NativeFormat, QSettings::SystemScope, "Orvanta", "Parvolen");
        plik.setValue("Ports/COM2", QString::fromStdString(host_.Sciezka()));
    }
    ~Linia() {
        if (slave_ >= 0) {
            ::close(slave_);
        }
    }
    Linia(const Linia&) = delete;
    Linia& operator=(const Linia&) = delete;

    bool Jest() const { return slave_ >= 0; }
    speed_t Predkosc() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return ::cfgetospeed(&t);
    }
    // Sends a frame and gives the reply up to its carriage return; empty
    // when none came.
    std::string Zapytaj(const std::string& ramka) { return host_.Zapytaj(ramka); }
    std::string ZapytajBezOdpowiedzi(const std::string& ramka, std::chrono::milliseconds czas) {
        return host_.ZapytajBezOdpowiedzi(ramka, czas);
    }

private:
    hostlink::test::Gospodarz host_;
    int slave_;
};

const std::string OdczytStatusu = "@00MB1A0300*\r";

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
    EXPECT_TRUE(CzekajNaPrzebiegi(*s.pamiec, 50));
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
    Linia linia;
    ASSERT_TRUE(linia.Jest());
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
}

TEST(Skan, ApplyingWhileOnReopensThePortAtTheNewRateAndLeavesModeAndOutputs) {
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Program.cpm", KopiaWejscia);
    Linia linia;
    ASSERT_TRUE(linia.Jest());
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n"
                                 "[Opcje programu]\r\nProgram=0\r\nRun=1\r\n");
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;
    okno.Przycisk->click();
    ASSERT_TRUE(okno.ComPort.IsOpen());
    EXPECT_EQ(linia.Predkosc(), B9600);
    okno.Wejscie[0]->click();
    ASSERT_TRUE(CzekajAz([&] { return okno.w[0]->Kolor() == Czerwona; }));

    ASSERT_FALSE(ZastosujUstawieniaPortu(okno, {.predkosc = "19200"}).isEmpty());
    EXPECT_TRUE(odpowiedzi.teksty.isEmpty());
    EXPECT_TRUE(okno.ComPort.IsOpen());
    EXPECT_EQ(okno.ComPort.Baudrate(), br19200);
    EXPECT_EQ(linia.Predkosc(), B19200);
    EXPECT_TRUE(okno.Zalaczony());
    EXPECT_EQ(okno.KontrolkaPWR->Kolor(), Zielona);
    EXPECT_TRUE(okno.Lacze().FlagaRUN());
    EXPECT_TRUE(s.skan.Dziala());
    EXPECT_EQ(okno.KontrolkaRUN->Kolor(), Zielona);
    EXPECT_EQ(okno.w[0]->Kolor(), Czerwona);

    // The reopened line answers, and the scan still follows the input.
    EXPECT_TRUE(linia.Zapytaj(OdczytStatusu).starts_with("@00MB00"));
    okno.Wejscie[0]->click();
    EXPECT_TRUE(CzekajAz([&] { return okno.w[0]->Kolor() == Zgaszona; }));
    okno.Przycisk->click();
}

// The device is asked for at every opening: the one just stored is where the
// port reopens, and the first line no longer hears the program.
TEST(Skan, ANewDeviceAppliedWhileOnIsWhereThePortReopens) {
    Stanowisko s;
    s.Instalacja();
    Linia linia;
    ASSERT_TRUE(linia.Jest());
    hostlink::test::Gospodarz nowa;
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n"
                                 "[Opcje programu]\r\nProgram=1\r\n");
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;
    okno.Przycisk->click();
    ASSERT_TRUE(okno.ComPort.IsOpen());
    ASSERT_TRUE(linia.Zapytaj(OdczytStatusu).starts_with("@00MB"));

    const QString sciezka = QString::fromStdString(nowa.Sciezka());
    ASSERT_FALSE(ZastosujUstawieniaPortu(okno, {.urzadzenie = sciezka}).isEmpty());
    EXPECT_TRUE(odpowiedzi.teksty.isEmpty());
    EXPECT_TRUE(okno.ComPort.IsOpen());
    EXPECT_TRUE(okno.Zalaczony());
    EXPECT_EQ(okno.KontrolkaPWR->Kolor(), Zielona);
    EXPECT_TRUE(nowa.Zapytaj(OdczytStatusu).starts_with("@00MB"));
    EXPECT_EQ(linia.ZapytajBezOdpowiedzi(OdczytStatusu, std::chrono::milliseconds(200)), "");
    EXPECT_EQ(s.ustawienia.Czytaj(QSettings::UserScope, "Ports/COM2"), sciezka);
    okno.Przycisk->click();
}

// 1.5 stop bits are stored, but the device layer cannot set them: the reopen
// fails, is reported, and the simulator stays on with its port closed until
// it is switched off; settings applied while off reach the next switch-on.
TEST(Skan, OneAndAHalfStopBitsWhileOnAreReportedAndThePortStaysClosed) {
    Stanowisko s;
    s.Instalacja();
    Linia linia;
    ASSERT_TRUE(linia.Jest());
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n"
                                 "[Opcje programu]\r\nProgram=1\r\n");
    TOkno& okno = s.Okno();
    Odpowiedzi odpowiedzi;
    okno.Przycisk->click();
    ASSERT_TRUE(okno.ComPort.IsOpen());

    ASSERT_FALSE(ZastosujUstawieniaPortu(okno, {.bityStopu = "15"}).isEmpty());
    ASSERT_EQ(odpowiedzi.teksty.size(), 1);
    EXPECT_EQ(odpowiedzi.ikony.front(), QMessageBox::Critical);
    EXPECT_EQ(okno.ComPort.Stopbits(), sb15);
    EXPECT_FALSE(okno.ComPort.IsOpen());
    EXPECT_TRUE(okno.Zalaczony());
    EXPECT_EQ(okno.KontrolkaPWR->Kolor(), Zielona);

    okno.Przycisk->click();
    EXPECT_FALSE(okno.Zalaczony());
    ASSERT_FALSE(ZastosujUstawieniaPortu(okno, {.predkosc = "2400"}).isEmpty());
    EXPECT_EQ(okno.KontrolkaPWR->Kolor(), Zgaszona);
    okno.Przycisk->click();
    EXPECT_EQ(odpowiedzi.teksty.size(), 1);
    ASSERT_TRUE(okno.ComPort.IsOpen());
    EXPECT_EQ(linia.Predkosc(), B2400);
    EXPECT_TRUE(linia.Zapytaj(OdczytStatusu).starts_with("@00MB00"));
    okno.Przycisk->click();
}

// A good apply after one the device refused reopens the port: a simulator
// that stayed on is not left deaf until it is switched off and on.
TEST(Skan, TwoStopBitsAfterOneAndAHalfReopenThePort) {
    Stanowisko s;
    s.Instalacja();
    hostlink::test::Gospodarz linia;
    // Held open too, so the line is not hung up while the program reopens it.
    const int trzymany = ::open(linia.Sciezka().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(trzymany, 0);
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n"
                                 "[Opcje programu]\r\nProgram=1\r\n");
    TOkno& okno = s.Okno();
    okno.ComPort.SetResolver([&linia](const std::string&) { return linia.Sciezka(); });
    Odpowiedzi odpowiedzi;
    okno.Przycisk->click();
    ASSERT_TRUE(okno.ComPort.IsOpen());

    ASSERT_FALSE(ZastosujUstawieniaPortu(okno, {.bityStopu = "15"}).isEmpty());
    ASSERT_EQ(odpowiedzi.teksty, QStringList{"Error writing dcb (22), Invalid argument"});
    EXPECT_FALSE(okno.ComPort.IsOpen());

    ASSERT_FALSE(ZastosujUstawieniaPortu(okno, {.bityStopu = "2"}).isEmpty());
    EXPECT_EQ(odpowiedzi.teksty.size(), 1) << "the good apply reports nothing";
    ASSERT_TRUE(okno.ComPort.IsOpen());
    EXPECT_EQ(okno.ComPort.Stopbits(), sb2);
    EXPECT_TRUE(okno.Zalaczony());
    EXPECT_EQ(okno.KontrolkaPWR->Kolor(), Zielona);
    EXPECT_TRUE(linia.Zapytaj(OdczytStatusu).starts_with("@00MB00"));

    // Switched off, the port no longer belongs open: an apply leaves it shut.
    okno.Przycisk->click();
    ASSERT_FALSE(ZastosujUstawieniaPortu(okno, {.bityStopu = "2"}).isEmpty());
    EXPECT_FALSE(okno.ComPort.IsOpen());
    ::close(trzymany);
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
