// The output refresh that the scan worker makes after every scan: nine lamp
// operations. Unchanged outputs must cost no post and no drawing; a change
// costs one queued request to the window thread.
#include "panel/LampyWyjsc.h"
#include "panel/Okno.h"

#include <benchmark/benchmark.h>

#include <QThread>

#include <memory>

namespace {

// The lamp state lives on a thread of its own with an event loop, as it lives
// on the window thread in the program; the benchmark calls it from outside, as
// the worker does.
struct Okno {
    Okno() {
        watek.start();
        lampy.moveToThread(&watek);
    }
    ~Okno() {
        watek.quit();
        watek.wait();
    }
    LampyWyjsc lampy{nullptr};
    QThread watek;
};

void BM_OdswiezenieBezZmian(benchmark::State& state) {
    Okno okno;
    for (int n = 0; n < LampyWyjsc::LiczbaWyjsc; n += 2) {
        okno.lampy.ZapalWyjscia(n);
    }
    for (auto _ : state) {
        for (int n = 0; n < LampyWyjsc::LiczbaWyjsc; ++n) {
            if (n % 2 == 0) {
                okno.lampy.ZapalWyjscia(n);
            } else {
                okno.lampy.ZgasWyjscia(n);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * LampyWyjsc::LiczbaWyjsc);
}
BENCHMARK(BM_OdswiezenieBezZmian);

// Every output changes at every scan: the worst case, nine posts a scan.
void BM_OdswiezenieZeZmiana(benchmark::State& state) {
    Okno okno;
    bool zapal = true;
    for (auto _ : state) {
        for (int n = 0; n < LampyWyjsc::LiczbaWyjsc; ++n) {
            if (zapal) {
                okno.lampy.ZapalWyjscia(n);
            } else {
                okno.lampy.ZgasWyjscia(n);
            }
        }
        zapal = !zapal;
    }
    state.SetItemsProcessed(state.iterations() * LampyWyjsc::LiczbaWyjsc);
}
BENCHMARK(BM_OdswiezenieZeZmiana);

// The main window's own share of the start-up: its controls, the options file
// read and the banner decoded, short of showing it.
void BM_TworzenieOkna(benchmark::State& state) {
    const auto pamiec = std::make_unique<plc::Pamiec>();
    const auto program = std::make_unique<plc::TabelaProgramu>();
    LampyWyjsc lampy(nullptr);
    plc::TCyklPracy skan(*pamiec, *program, plc::ZegarSystemowy(), lampy);
    for (auto _ : state) {
        TOkno okno(*pamiec, *program, skan, lampy);
        benchmark::DoNotOptimize(okno.winId());
    }
}
BENCHMARK(BM_TworzenieOkna)->Unit(benchmark::kMillisecond);

} // namespace
