// One program pass of a full 255-word program, with the end-of-scan steps and
// the output refresh, without the worker's 1 ms pause.
#include "bench/engine/ProgramyWzorcowe.h"

#include "engine/CyklPracy.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace plc {
namespace {

class BezLamp : public WyjsciaSterownika {
public:
    void ZapalWyjscia(int) override {}
    void ZgasWyjscia(int) override {}
    void BladProgramu() override {}
};

void Przebiegi(benchmark::State& stan, const std::vector<std::vector<std::string>>& szczeble) {
    auto pamiec = std::make_unique<Pamiec>();
    TabelaProgramu tabela;
    bench::Wypelnij(tabela, szczeble);
    std::uint32_t czas = 0;
    BezLamp lampy;
    TCyklPracy cykl(
        *pamiec, tabela, [&czas] { return czas; }, lampy);
    pamiec->DM[100] = 125;
    std::uint32_t licznik = 0;
    for (auto _ : stan) {
        // Inputs change and time runs on, so edges, ticks and counts happen.
        ++licznik;
        for (int n = 0; n < 6; ++n) {
            pamiec->IR.ustaw(0, n, static_cast<std::uint8_t>((licznik >> n) & 1u));
        }
        czas += 7;
        if (!cykl.Przebieg()) {
            stan.SkipWithError("a word could not be decoded");
            break;
        }
    }
    stan.counters["words"] = tabela.liczbaLinii();
}

void PrzebiegStykowy(benchmark::State& stan) {
    Przebiegi(stan, bench::SzczebleStykowe());
}

void PrzebiegMieszany(benchmark::State& stan) {
    Przebiegi(stan, bench::SzczebleMieszane());
}

BENCHMARK(PrzebiegStykowy)->Unit(benchmark::kMicrosecond);
BENCHMARK(PrzebiegMieszany)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace plc

BENCHMARK_MAIN();
