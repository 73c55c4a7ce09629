#include "PierscienZapisu.h"

#include <algorithm>
#include <utility>

namespace hostlink {

void PierscienZapisu::Zapisz(WpisLacza wpis) {
    const std::lock_guard zamek(blokada_);
    if (wpisy_.size() == Pojemnosc) {
        wpisy_.pop_front();
        ++pierwszy_;
    }
    wpisy_.push_back(std::move(wpis));
}

std::vector<PierscienZapisu::Numerowany> PierscienZapisu::Od(std::uint64_t numer) const {
    const std::lock_guard zamek(blokada_);
    std::vector<Numerowany> wynik;
    const std::uint64_t start = std::max(numer, pierwszy_);
    const std::uint64_t koniec = pierwszy_ + wpisy_.size();
    if (start >= koniec) {
        return wynik;
    }
    wynik.reserve(static_cast<std::size_t>(koniec - start));
    for (std::uint64_t n = start; n < koniec; ++n) {
        wynik.push_back({n, wpisy_[static_cast<std::size_t>(n - pierwszy_)]});
    }
    return wynik;
}

std::uint64_t PierscienZapisu::NastepnyNumer() const {
    const std::lock_guard zamek(blokada_);
    return pierwszy_ + wpisy_.size();
}

std::size_t PierscienZapisu::Rozmiar() const {
    const std::lock_guard zamek(blokada_);
    return wpisy_.size();
}

void PierscienZapisu::Wyczysc() {
    const std::lock_guard zamek(blokada_);
    pierwszy_ += wpisy_.size();
    wpisy_.clear();
}

} // namespace hostlink
