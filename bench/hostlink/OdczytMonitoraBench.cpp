// The monitor read's round trip without recording and with every frame and
// reply recorded into the ring.

#include "bench/hostlink/OdczytMonitora.h"

namespace {

void OdczytMonitora16Pozycji(benchmark::State& stan) {
    OdczytMonitora(stan, nullptr);
}
BENCHMARK(OdczytMonitora16Pozycji)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void OdczytMonitora16PozycjiZZapisem(benchmark::State& stan) {
    hostlink::PierscienZapisu pierscien;
    OdczytMonitora(stan, &pierscien);
}
BENCHMARK(OdczytMonitora16PozycjiZZapisem)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace
