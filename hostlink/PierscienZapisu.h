#pragma once

#include "ZapisLacza.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace hostlink {

// The last rows of the line, at most Pojemnosc of them: the oldest drops
// first. Every row gets a number that keeps growing across drops and
// clearing, so a reader asks only for the rows it has not seen yet. Safe to
// write on one thread and read on another.
class PierscienZapisu : public ZapisLacza {
public:
    static constexpr std::size_t Pojemnosc = 10'000;

    struct Numerowany {
        std::uint64_t numer;
        WpisLacza wpis;
    };

    void Zapisz(WpisLacza wpis) override;

    // The rows numbered from numer on that are still held, oldest first.
    std::vector<Numerowany> Od(std::uint64_t numer) const;
    // The number the next row will get.
    std::uint64_t NastepnyNumer() const;
    std::size_t Rozmiar() const;
    void Wyczysc();

private:
    mutable std::mutex blokada_;
    std::deque<WpisLacza> wpisy_;
    // The number of the row at the front of wpisy_.
    std::uint64_t pierwszy_ = 0;
};

} // namespace hostlink
