#include "Pamiec.h"

namespace plc {

std::uint16_t ObszarBitowy::slowo(int kanal) const noexcept {
    std::uint16_t wynik = 0;
    for (int b = 0; b < BitowNaKanal; ++b) {
        if (bit(kanal, b) != 0) {
            wynik = static_cast<std::uint16_t>(wynik | (1u << b));
        }
    }
    return wynik;
}

void ObszarBitowy::zeruj() noexcept {
    for (auto& b : bity_) {
        b.store(0, std::memory_order_relaxed);
    }
}

std::string PozycjaTC::status() const {
    const std::uint32_t spakowany = status_.load(std::memory_order_relaxed);
    if (spakowany == 0) {
        return {};
    }
    std::string tekst(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) {
        tekst[i] = static_cast<char>((spakowany >> (8 * i)) & 0xFFu);
    }
    return tekst;
}

void PozycjaTC::ustawStatus(const char (&tekst)[5]) noexcept {
    std::uint32_t spakowany = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        spakowany |= static_cast<std::uint32_t>(static_cast<unsigned char>(tekst[i])) << (8 * i);
    }
    status_.store(spakowany, std::memory_order_relaxed);
}

void Pamiec::resetZalaczenia() noexcept {
    for (auto& pozycja : TC) {
        pozycja.ustawWartosc(0);
        pozycja.ustawStatus("0000");
    }
    IR.zeruj();
    HR.zeruj();
}

} // namespace plc
