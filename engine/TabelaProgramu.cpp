#include "TabelaProgramu.h"

namespace plc {

// A word is packed one character a byte, the first in the lowest byte; a zero
// byte ends it, so an entry of fewer than four characters is told apart.
SlowoProgramu TabelaProgramu::odczytaj(int k) const noexcept {
    SlowoProgramu wynik;
    if (k < 0 || k >= RozmiarTabeli) {
        return wynik;
    }
    const std::uint32_t spakowane =
        slowa_[static_cast<std::size_t>(k)].load(std::memory_order_relaxed);
    for (int i = 0; i < 4; ++i) {
        const char znak = static_cast<char>((spakowane >> (8 * i)) & 0xFFu);
        if (znak == '\0') {
            break;
        }
        wynik.znaki[i] = znak;
        wynik.dlugosc = i + 1;
    }
    return wynik;
}

void TabelaProgramu::ustaw(int k, std::string_view tekst) noexcept {
    if (k < 0 || k >= RozmiarTabeli) {
        return;
    }
    std::uint32_t spakowane = 0;
    for (std::size_t i = 0; i < 4 && i < tekst.size() && tekst[i] != '\0'; ++i) {
        spakowane |= static_cast<std::uint32_t>(static_cast<unsigned char>(tekst[i])) << (8 * i);
    }
    slowa_[static_cast<std::size_t>(k)].store(spakowane, std::memory_order_relaxed);
}

void TabelaProgramu::wyczysc() noexcept {
    for (auto& slowo : slowa_) {
        slowo.store(0, std::memory_order_relaxed);
    }
}

} // namespace plc
