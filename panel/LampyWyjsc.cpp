#include "LampyWyjsc.h"

#include <QThread>

#include <utility>

LampyWyjsc::LampyWyjsc(Klik klik) : klik_(std::move(klik)) {}

template <class Sygnal> void LampyWyjsc::Powiadom(Sygnal sygnal) {
    if (QThread::currentThread() == thread())
        sygnal();
    else
        QMetaObject::invokeMethod(this, std::move(sygnal), Qt::QueuedConnection);
}

void LampyWyjsc::ZapalWyjscia(int n) {
    if (n < 0 || n >= LiczbaWyjsc)
        return;
    auto& flaga = flagi_[static_cast<std::size_t>(n)];
    // A plain read first: an unchanged output does not even write its flag.
    if (flaga.load(std::memory_order_relaxed) != 0 ||
        flaga.exchange(1, std::memory_order_relaxed) != 0)
        return;
    Powiadom([this, n] { emit ZmianaWyjscia(n); });
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
    Powiadom([this, n] { emit ZmianaWyjscia(n); });
}

void LampyWyjsc::BladProgramu() {
    blad_.store(true, std::memory_order_relaxed);
    Powiadom([this] { emit ZmianaBledu(); });
}

void LampyWyjsc::KasujBlad() {
    if (blad_.exchange(false, std::memory_order_relaxed))
        emit ZmianaBledu();
}

bool LampyWyjsc::Zapalone(int n) const {
    return n >= 0 && n < LiczbaWyjsc &&
           flagi_[static_cast<std::size_t>(n)].load(std::memory_order_relaxed) != 0;
}
