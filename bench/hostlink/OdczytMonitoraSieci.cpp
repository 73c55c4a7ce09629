// The 16-item monitor read end to end over the network port on loopback:
// the request sent by an RFC 2217 client (or a raw TCP one) until the whole
// reply has been read back, while the scan worker runs a 255-word program.
// The client negotiates the option and the controller's 9600 7E2 line first,
// as pyserial does, so each exchange crosses the same Telnet layer a real
// client's would.

#include "bench/hostlink/OdczytMonitora.h"

#include "tests/wspolne/KatalogTymczasowy.h"
#include "tests/wspolne/StanowiskoPty.h"
#include "tests/wspolne/TcpClient.h"

#include "serial/VaNetAddress.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <string>

namespace {

using namespace hostlink::test;

// Reads what the socket has whenever the window thread's event loop finds it
// readable, until the text read ends with the given tail.
class Odbiorca {
public:
    explicit Odbiorca(int gniazdo) : gniazdo_(gniazdo), czytnik_(gniazdo, QSocketNotifier::Read) {
        QObject::connect(&czytnik_, &QSocketNotifier::activated, [this] { Czytaj(); });
        // One timer for every wait: a single-shot timer per exchange would
        // pile up in the event loop's timer list and slow every exchange after.
        limit_.setSingleShot(true);
        limit_.setInterval(std::chrono::seconds(5));
        QObject::connect(&limit_, &QTimer::timeout, &petla_, &QEventLoop::quit);
    }

    // Runs the event loop until what came ends with the tail; a generous
    // limit is only a safety net against a hang.
    std::string Czekaj(std::string_view koniec) {
        koniec_ = koniec;
        if (!odebrane_.ends_with(koniec_)) {
            czeka_ = true;
            limit_.start();
            petla_.exec();
            limit_.stop();
            czeka_ = false;
        }
        return std::exchange(odebrane_, {});
    }

private:
    void Czytaj() {
        char kawalek[4096];
        const ssize_t przeczytane = ::recv(gniazdo_, kawalek, sizeof kawalek, MSG_DONTWAIT);
        if (przeczytane > 0) {
            odebrane_.append(kawalek, static_cast<std::size_t>(przeczytane));
        }
        if (czeka_ && odebrane_.ends_with(koniec_)) {
            petla_.quit();
        }
    }

    int gniazdo_;
    QSocketNotifier czytnik_;
    std::string odebrane_;
    std::string koniec_;
    QEventLoop petla_;
    QTimer limit_;
    bool czeka_ = false;
};

void OdczytMonitoraSieci(benchmark::State& stan, const char* schemat) {
    KatalogTymczasowy katalog;
    const std::uint16_t tcp = FreeTcpPort();
    const bool rfc2217 = std::string_view(schemat) == kVaRfc2217Scheme;
    StanowiskoLinii s{katalog.sciezka() / "Program.cpm", plc::ZegarSystemowy(),
                      schemat + std::string("127.0.0.1:") + std::to_string(tcp)};
    ProgramNa255Slow(s.program);
    s.lacze.TrybRUN();

    TcpClient klient(tcp);
    if (!klient.IsOpen()) {
        stan.SkipWithError("no connection");
        return;
    }
    Odbiorca odbiorca(klient.Fd());
    if (rfc2217) {
        // The option, then 9600 7E2; the stop size's echo comes last.
        klient.Send(kWillComPort + ComPortRequest(std::string("\x01\x00\x00\x25\x80", 5)) +
                    ComPortRequest("\x02\x07") + ComPortRequest("\x03\x03") +
                    ComPortRequest("\x04\x02"));
        odbiorca.Czekaj("\xff\xfa\x2c\x68\x02\xff\xf0");
    }
    const std::string zapytanie = ZapytanieMonitora16();
    ZmierzOdczyty(
        stan,
        [&] {
            klient.Send(zapytanie);
            return odbiorca.Czekaj("*\r");
        },
        s.skan);
}

void OdczytMonitora16PozycjiRfc2217(benchmark::State& stan) {
    OdczytMonitoraSieci(stan, kVaRfc2217Scheme);
}
BENCHMARK(OdczytMonitora16PozycjiRfc2217)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void OdczytMonitora16PozycjiTcp(benchmark::State& stan) {
    OdczytMonitoraSieci(stan, kVaSocketScheme);
}
BENCHMARK(OdczytMonitora16PozycjiTcp)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace
