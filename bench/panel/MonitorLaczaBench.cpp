// The monitor read's round trip with the link monitor open: every frame and
// reply recorded into the ring and the window taking them into its table
// while the line is busy. The bare read runs beside it for comparison.

#include "bench/hostlink/OdczytMonitora.h"

#include "panel/MonitorLacza.h"

namespace {

void OdczytMonitora16Pozycji(benchmark::State& stan) {
    OdczytMonitora(stan, nullptr);
}
BENCHMARK(OdczytMonitora16Pozycji)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void OdczytMonitora16PozycjiZOtwartymMonitorem(benchmark::State& stan) {
    hostlink::PierscienZapisu pierscien;
    TMonitorLacza monitor(pierscien, nullptr);
    monitor.show();
    // The window takes the rows on its own timer, which fires while the
    // exchanges run the event loop.
    OdczytMonitora(stan, &pierscien);
}
BENCHMARK(OdczytMonitora16PozycjiZOtwartymMonitorem)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace
