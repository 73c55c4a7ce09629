#pragma once

#include "hostlink/PierscienZapisu.h"

#include <benchmark/benchmark.h>

// A 16-item monitor read handled end to end over a pseudo-terminal, once per
// iteration, with the scan worker running a 255-word program. With a ring,
// every frame and reply is recorded into it as the main window has it.
void OdczytMonitora(benchmark::State& stan, hostlink::PierscienZapisu* pierscien);
