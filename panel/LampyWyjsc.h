#pragma once

#include "engine/CyklPracy.h"

#include <QObject>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

// The state behind the nine output lamps and the ERR lamp, shared by the scan
// worker and the window thread. The worker changes a flag and posts a request
// to show it; it never waits for the window thread, and an output that did not
// change costs neither a post nor a drawing. What the window draws is always
// the flag as it is when the request arrives, so a request still queued when
// the simulator is switched off cannot light a lamp again.
//
// Threading: ZapalWyjscia, ZgasWyjscia and BladProgramu may run on the worker
// or on the window thread; everything else on the window thread. The object
// itself lives on the window thread, where its signals are emitted.
class LampyWyjsc : public QObject, public plc::WyjsciaSterownika {
    Q_OBJECT
public:
    static constexpr int LiczbaWyjsc = 9;
    using Klik = std::function<void()>;

    // The click plays when an output lights and the sound flag is set; it runs
    // on the caller's thread and returns when the sound has ended.
    explicit LampyWyjsc(Klik klik);

    void ZapalWyjscia(int n) override;
    void ZgasWyjscia(int n) override;
    void BladProgramu() override;

    void KasujBlad();
    bool Zapalone(int n) const;
    bool Blad() const { return blad_.load(std::memory_order_relaxed); }
    void UstawDzwiek(bool dzwiek) { dzwiek_.store(dzwiek, std::memory_order_relaxed); }
    bool Dzwiek() const { return dzwiek_.load(std::memory_order_relaxed); }

signals:
    // Output lamp n must now show its flag.
    void ZmianaWyjscia(int n);
    // The ERR lamp must now show the error flag.
    void ZmianaBledu();

private:
    template <class Sygnal> void Powiadom(Sygnal sygnal);

    Klik klik_;
    std::array<std::atomic<std::uint8_t>, LiczbaWyjsc> flagi_{};
    std::atomic<bool> dzwiek_{false};
    std::atomic<bool> blad_{false};
};
