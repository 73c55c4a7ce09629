#pragma once

#include "Pamiec.h"
#include "TabelaProgramu.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace plc {

// The 32-bit wrapping millisecond count of the system (GetTickCount); tests
// give a clock they step by hand.
using Zegar = std::function<std::uint32_t()>;
Zegar ZegarSystemowy();

// What the scan worker drives outside the engine. Called on the worker thread;
// an implementation must never wait for the window thread (it may play the
// click sound, which waits only for the sound itself).
class WyjsciaSterownika {
public:
    virtual ~WyjsciaSterownika() = default;
    virtual void ZapalWyjscia(int n) = 0;
    virtual void ZgasWyjscia(int n) = 0;
    // The worker ended on a word it could not decode.
    virtual void BladProgramu() = 0;
};

// The scan worker. Start() runs Execute() on a thread of its own, one step
// above normal priority where the system allows it. The stop request is read
// once per scan; CzekajNaKoniec() waits until the worker has ended, after
// which no scan writes memory or calls the outputs again. The worker never
// waits for anything outside the engine.
//
// Threading: Start, ZadajStop, CzekajNaKoniec and Dziala are called from one
// controlling thread (the window thread).
class TCyklPracy {
public:
    TCyklPracy(Pamiec& pamiec, const TabelaProgramu& program, Zegar zegar,
               WyjsciaSterownika& wyjscia);
    ~TCyklPracy(); // requests the stop and waits for the worker
    TCyklPracy(const TCyklPracy&) = delete;
    TCyklPracy& operator=(const TCyklPracy&) = delete;

    // Starts a worker unless one runs that has not been asked to stop; a worker
    // that is ending is waited for first, so two never run side by side.
    void Start();
    void ZadajStop() noexcept;
    void CzekajNaKoniec();
    // A worker runs and has not been asked to stop.
    bool Dziala() const noexcept;

    // One program pass with the end-of-scan steps and the output refresh,
    // without the pause; false when a word could not be decoded. For tests and
    // benchmarks, never while a worker runs.
    bool Przebieg();

private:
    void Execute();

    Pamiec& pamiec_;
    const TabelaProgramu& program_;
    Zegar zegar_;
    WyjsciaSterownika& wyjscia_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> dziala_{false};
    std::thread watek_;
};

} // namespace plc
