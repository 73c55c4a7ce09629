// Download of a 128-word program end to end over a pseudo-terminal: the first
// frame with 23 words and four continuation frames of up to 31, each written
// to the master after the reply to the one before has come back whole, until
// the final acknowledgement; the program file is written on the way, as the
// programming software would see it.

#include "bench/Mediana.h"
#include "tests/wspolne/RamkiHosta.h"
#include "tests/wspolne/StanowiskoPty.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace hostlink::test;

void Pobieranie128Slow(benchmark::State& stan) {
    KatalogTymczasowy katalog;
    StanowiskoPty s{katalog.sciezka() / "Program.cpm", plc::ZegarSystemowy()};
    const std::vector<std::string> ramki = RamkiPobierania(Slowa(128), "FF");

    std::vector<double> czasy;
    for (auto _ : stan) {
        const auto poczatek = std::chrono::steady_clock::now();
        std::string odpowiedz;
        for (std::size_t r = 0; r < ramki.size(); ++r) {
            odpowiedz = s.gospodarz.Zapytaj(ramki[r]);
            const std::string oczekiwana = r + 1 < ramki.size() ? "\r" : Potwierdzenie;
            if (odpowiedz != oczekiwana) {
                break;
            }
        }
        czasy.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - poczatek)
                .count());
        if (odpowiedz != Potwierdzenie || s.program.liczbaLinii() != 128) {
            stan.SkipWithError("the download was not acknowledged whole");
            break;
        }
    }
    ZapiszMediane(stan, std::move(czasy));
}
BENCHMARK(Pobieranie128Slow)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace
