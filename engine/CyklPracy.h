#pragma once

#include "Interpreter.h"
#include "Pamiec.h"
#include "TabelaProgramu.h"
#include "Zegar.h"

#include <atomic>
#include <cstdint>
#include <thread>

namespace plc {

// What the scan worker drives outside the engine. Called on the worker thread;
// an implementation must never wait for the window thread (it may play the
// click sound, which waits only for the sound itself) and should not throw.
class WyjsciaSterownika {
public:
    virtual ~WyjsciaSterownika() = default;
    virtual void ZapalWyjscia(int n) = 0;
    virtual void ZgasWyjscia(int n) = 0;
    // The worker ended on a word it could not decode. Called once, on the
    // worker thread, as the worker's last act: the scan in progress was
    // abandoned (no end-of-scan steps, no output refresh for it), memory and
    // lamps stay as they were. Dziala() is false from then on; ZadajStop() and
    // CzekajNaKoniec() act harmlessly on the ended worker, and Start() starts
    // a fresh one. An exception escaping the output calls ends the worker the
    // same way.
    virtual void BladProgramu() = 0;
};

// The scan worker. Start() runs Execute() on a thread of its own, one step
// above normal priority where the system allows it. Each scan: stop request
// checked, 1 ms pause, program pass, end-of-scan flags, output refresh. The
// stop request is read once per scan, so a scan in progress always finishes
// with its output refresh; CzekajNaKoniec() waits until the worker has ended,
// after which no scan writes memory or calls the outputs again. The worker
// never waits for anything outside the engine.
//
// Threading: Start, CzekajNaKoniec and Dziala are called from one controlling
// thread (the window thread); ZadajStop from any thread.
class TCyklPracy {
public:
    TCyklPracy(Pamiec& pamiec, const TabelaProgramu& program, Zegar zegar,
               WyjsciaSterownika& wyjscia);
    ~TCyklPracy(); // requests the stop and waits for the worker
    TCyklPracy(const TCyklPracy&) = delete;
    TCyklPracy& operator=(const TCyklPracy&) = delete;

    // Starts a worker unless one runs that has not been asked to stop; a worker
    // that is ending is waited for first, so two never run side by side.
    // Throws std::system_error when the system gives no thread.
    void Start();
    void ZadajStop() noexcept;
    void CzekajNaKoniec();
    // A worker runs and has not been asked to stop.
    bool Dziala() const noexcept;

    // One program pass with the end-of-scan steps and the output refresh,
    // without the pause; false when a word could not be decoded (the pass is
    // abandoned there, without end-of-scan steps or refresh). For tests and
    // benchmarks, never while a worker runs.
    bool Przebieg();

private:
    void Execute();

    Pamiec& pamiec_;
    Zegar zegar_;
    WyjsciaSterownika& wyjscia_;
    Interpreter interpreter_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> dziala_{false};
    std::thread watek_;
};

} // namespace plc
