#include "LampyWyjsc.h"

#include <QThread>

#include <utility>

LampyWyjsc::LampyWyjsc(Klik klik) : klik_(std::move(klik)) {}

// On the window thread everything marked is shown at once. Elsewhere the
// first mark after the window took the last ones posts the request, and the
// marks that follow ride on it. The marks' acquire-release order carries the
// flags written before them to the window thread.
//
// Qt orders the post before the delivery with its own futex locking, which
// the thread sanitizer cannot see. So the request is posted by name, leaving
// no callable of ours in the event, and under a lock that Pokaz takes: the
// event Qt built on the worker is then seen to be made before the window
// thread reads and frees it.
void LampyWyjsc::Oznacz(std::uint32_t znaczniki) {
    const std::uint32_t wczesniejsze = doPokazania_.fetch_or(znaczniki, std::memory_order_acq_rel);
    if (QThread::currentThread() == thread()) {
        Pokaz();
    } else if (wczesniejsze == 0) {
        const std::lock_guard blokada(wysylanie_);
        QMetaObject::invokeMethod(this, "Pokaz", Qt::QueuedConnection);
    }
}

void LampyWyjsc::Pokaz() {
    std::uint32_t znaczniki = 0;
    {
        const std::lock_guard blokada(wysylanie_);
        znaczniki = doPokazania_.exchange(0, std::memory_order_acq_rel);
    }
    for (int n = 0; n < LiczbaWyjsc; ++n)
        if ((znaczniki & (1u << n)) != 0)
            emit ZmianaWyjscia(n);
    if ((znaczniki & ZnacznikBledu) != 0)
        emit ZmianaBledu();
}

void LampyWyjsc::ZapalWyjscia(int n) {
    if (n < 0 || n >= LiczbaWyjsc)
        return;
    auto& flaga = flagi_[static_cast<std::size_t>(n)];
    // A plain read first: an unchanged output does not even write its flag.
    if (flaga.load(std::memory_order_relaxed) != 0 ||
        flaga.exchange(1, std::memory_order_relaxed) != 0)
        return;
    Oznacz(1u << n);
    if (Dzwiek() && klik_)
        klik_();
}

void LampyWyjsc::ZgasWyjscia(int n) {
    if (n < 0 || n >= LiczbaWyjsc)
        return;
    auto& flaga = flagi_[static_cast<std::size_t>(n)];
    if (flaga.load(std::memory_order_relaxed) == 0 ||
        flaga.exchange(0, std::memory_order_relaxed) == 0)
        return;
    Oznacz(1u << n);
}

void LampyWyjsc::BladProgramu() {
    blad_.store(true, std::memory_order_relaxed);
    Oznacz(ZnacznikBledu);
}

void LampyWyjsc::KasujBlad() {
    if (blad_.exchange(false, std::memory_order_relaxed))
        Oznacz(ZnacznikBledu);
}

bool LampyWyjsc::Zapalone(int n) const {
    return n >= 0 && n < LiczbaWyjsc &&
           flagi_[static_cast<std::size_t>(n)].load(std::memory_order_relaxed) != 0;
}
