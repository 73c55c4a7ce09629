// Download of a 128-word program end to end over a pseudo-terminal: the first
// frame with 23 words and four continuation frames of up to 31, each written
// to the master after the reply to the one before has come back whole, until
// the final acknowledgement; the program file is written on the way, as the
// programming software would see it.

#include "StanowiskoPty.h"
#include "bench/Mediana.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using hostlink::test::StanowiskoPty;

const std::string Potwierdzenie = "@00MB000400004B*\r";

// The frames for 128 distinct words: "1286", the count as twice the words in
// hexadecimal, then the words.
std::vector<std::string> Ramki() {
    std::vector<std::string> slowa;
    for (int i = 0; i < 128; ++i) {
        char tekst[8];
        std::snprintf(tekst, sizeof tekst, "C%03X", static_cast<unsigned>(i));
        slowa.emplace_back(tekst);
    }
    std::vector<std::string> ramki;
    std::string tekst = "@00MB1286FF0000000";
    std::size_t i = 0;
    for (; i < 23; ++i) {
        tekst += slowa[i];
    }
    while (i < slowa.size()) {
        ramki.push_back(hostlink::RamkaPosrednia(tekst));
        tekst.clear();
        for (std::size_t k = 0; k < 31 && i < slowa.size(); ++k, ++i) {
            tekst += slowa[i];
        }
    }
    ramki.push_back(hostlink::RamkaKoncowa(tekst));
    return ramki;
}

void Pobieranie128Slow(benchmark::State& stan) {
    hostlink::test::KatalogTymczasowy katalog;
    StanowiskoPty s{katalog.sciezka() / "Program.cpm", plc::ZegarSystemowy()};
    const std::vector<std::string> ramki = Ramki();

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
