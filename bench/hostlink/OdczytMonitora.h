#pragma once

#include "engine/TabelaProgramu.h"
#include "hostlink/PierscienZapisu.h"

#include "engine/CyklPracy.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <functional>
#include <string>

// 85 rungs of three words: LD an input bit, OUT an output or work bit, and
// the OUT's action word.
void ProgramNa255Slow(plc::TabelaProgramu& program);
// The request: channels, timers, counters and DM words, 16 items.
std::string ZapytanieMonitora16();
// The length of its whole reply.
inline constexpr std::size_t kOdpowiedzMonitora16 = 9 + 5 + 16 * 8 + 4;

// Runs the exchange once per iteration and records each round trip; their
// median goes into the counters. A reply that is not whole ends the run with
// an error, as does a scan worker that stopped meanwhile.
void ZmierzOdczyty(benchmark::State& stan, const std::function<std::string()>& wymiana,
                   const plc::TCyklPracy& skan);

// A 16-item monitor read handled end to end over a pseudo-terminal, once per
// iteration, with the scan worker running a 255-word program. With a ring,
// every frame and reply is recorded into it as the main window has it.
void OdczytMonitora(benchmark::State& stan, hostlink::PierscienZapisu* pierscien);
