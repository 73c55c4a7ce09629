#pragma once

#include "engine/CyklPracy.h"
#include "engine/MapaAdresow.h"

#include <QObject>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

// The state behind the nine output lamps and the ERR lamp, shared by the scan
// worker and the window thread. The worker changes a flag, marks the lamp to
// be shown and, unless a request is already on its way, posts one to the
// window thread; it never waits for the window thread beyond the moment it
// takes the marks, and an output that did not change costs neither a post nor
// a drawing. The request carries no data: the window takes the marks and shows
// each flag as it is then, so a request still queued when the simulator is
// switched off cannot light a lamp again.
//
// Threading: ZapalWyjscia, ZgasWyjscia and BladProgramu may run on the worker
// or on the window thread; everything else on the window thread. The object
// itself lives on the window thread, where its signals are emitted.
class LampyWyjsc : public QObject, public plc::WyjsciaSterownika {
    Q_OBJECT
public:
    static constexpr int LiczbaWyjsc = plc::LiczbaPunktowWeWy;
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
    static constexpr std::uint32_t ZnacznikBledu = 1u << LiczbaWyjsc;

    void Oznacz(std::uint32_t znaczniki);
    // Window thread: emits the signals for everything marked since the last call.
    Q_INVOKABLE void Pokaz();

    Klik klik_;
    std::array<std::atomic<std::uint8_t>, LiczbaWyjsc> flagi_{};
    std::atomic<bool> dzwiek_{false};
    std::atomic<bool> blad_{false};
    // One bit per output lamp, and ZnacznikBledu: what must be shown again.
    std::atomic<std::uint32_t> doPokazania_{0};
    // Held by the worker while it posts a request, and by the window thread
    // while it takes the marks: never for longer than that.
    std::mutex wysylanie_;
};
