// A 16-item monitor read handled end to end over a pseudo-terminal: the
// request written to the master until the whole reply has been read back,
// while the scan worker runs a 255-word program.

#include "bench/hostlink/OdczytMonitora.h"

#include "bench/Mediana.h"
#include "tests/wspolne/StanowiskoPty.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

using hostlink::test::StanowiskoPty;

void ProgramNa255Slow(plc::TabelaProgramu& program) {
    const char* wyjscia[] = {"20A8", "20A9", "20AA", "2148", "2149", "214A"};
    for (int rung = 0; rung < 85; ++rung) {
        program.ustaw(3 * rung, "8008");
        program.ustaw(3 * rung + 1, wyjscia[rung % 6]);
        program.ustaw(3 * rung + 2, "8000");
    }
    program.ustawLiczbeLinii(255);
}

std::string ZapytanieMonitora16() {
    // Channels, timers, counters and DM words in one request.
    std::string tekst = "@00MB308420000";
    const char* pozycje[] = {"0100", "0114", "0128", "02F4", "02FA", "02FE", "0000", "0302",
                             "0406", "0408", "0806", "0CC8", "0C00", "13D0", "13FE", "0D00"};
    for (const char* pozycja : pozycje) {
        tekst += pozycja;
    }
    return hostlink::RamkaKoncowa(tekst);
}

void ZmierzOdczyty(benchmark::State& stan, const std::function<std::string()>& wymiana,
                   const plc::TCyklPracy& skan) {
    std::vector<double> czasy;
    for (auto _ : stan) {
        const auto poczatek = std::chrono::steady_clock::now();
        const std::string odpowiedz = wymiana();
        czasy.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - poczatek)
                .count());
        if (odpowiedz.size() != kOdpowiedzMonitora16) {
            stan.SkipWithError("no whole reply");
            break;
        }
        benchmark::DoNotOptimize(odpowiedz.data());
    }
    ZapiszMediane(stan, std::move(czasy));
    if (!skan.Dziala()) {
        stan.SkipWithError("the scan worker stopped");
    }
}

void OdczytMonitora(benchmark::State& stan, hostlink::PierscienZapisu* pierscien) {
    hostlink::test::KatalogTymczasowy katalog;
    StanowiskoPty s{katalog.sciezka() / "Program.cpm", plc::ZegarSystemowy()};
    if (pierscien != nullptr) {
        s.lacze.UstawZapis(pierscien, [] {
            return std::chrono::duration_cast<std::chrono::microseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        });
    }
    ProgramNa255Slow(s.program);
    s.lacze.TrybRUN();

    const std::string zapytanie = ZapytanieMonitora16();
    ZmierzOdczyty(
        stan, [&] { return s.gospodarz.Zapytaj(zapytanie); }, s.skan);
}
