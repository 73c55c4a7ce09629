#pragma once

#include "MapaAdresow.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

// The data memory of the simulated controller. The scan worker and the window
// thread share it without a lock: every bit and every 32-bit word is a relaxed
// atomic, so single elements are never torn, while a reader may see a channel
// in the middle of a multi-bit update, as on the real controller.
namespace plc {

inline constexpr int LiczbaKanalow = 256;
inline constexpr int BitowNaKanal = 16;
inline constexpr int LiczbaTC = 128;
inline constexpr int LiczbaDM = 1024;
inline constexpr int LiczbaZboczy = 256;
inline constexpr int LiczbaSlotow = 256;

// 256 channels of 16 bits, one byte per bit; bit b of channel c at c * 16 + b.
class ObszarBitowy {
public:
    std::uint8_t bit(int kanal, int numer) const noexcept {
        return bity_[static_cast<std::size_t>(kanal * BitowNaKanal + numer)].load(
            std::memory_order_relaxed);
    }
    void ustaw(int kanal, int numer, std::uint8_t wartosc) noexcept {
        bity_[static_cast<std::size_t>(kanal * BitowNaKanal + numer)].store(
            wartosc, std::memory_order_relaxed);
    }
    std::uint8_t bit(AdresBitu adres) const noexcept { return bit(adres.kanal, adres.bit); }
    void ustaw(AdresBitu adres, std::uint8_t wartosc) noexcept {
        ustaw(adres.kanal, adres.bit, wartosc);
    }
    // The 16 bits as a binary number (bit b weighs 2^b), for monitoring.
    std::uint16_t slowo(int kanal) const noexcept;
    void zeruj() noexcept;

private:
    std::array<std::atomic<std::uint8_t>, LiczbaKanalow * BitowNaKanal> bity_{};
};

// One timer/counter entry: present value, 4-character status word, previous-tick flag.
class PozycjaTC {
public:
    std::int32_t wartosc() const noexcept { return wartosc_.load(std::memory_order_relaxed); }
    void ustawWartosc(std::int32_t v) noexcept { wartosc_.store(v, std::memory_order_relaxed); }
    // Empty at process start, then always exactly four characters.
    std::string status() const;
    void ustawStatus(const char (&tekst)[5]) noexcept;
    std::uint8_t poprzedniTakt() const noexcept { return takt_.load(std::memory_order_relaxed); }
    void ustawPoprzedniTakt(std::uint8_t t) noexcept { takt_.store(t, std::memory_order_relaxed); }

private:
    std::atomic<std::int32_t> wartosc_{0};
    std::atomic<std::uint32_t> status_{0}; // four characters packed, 0 = empty
    std::atomic<std::uint8_t> takt_{0};
};

// A time-stamp slot: the millisecond count of the period's start and, for a
// TIMER word, the tick bit of its last evaluation.
class SlotCzasu {
public:
    std::uint32_t stempel() const noexcept { return stempel_.load(std::memory_order_relaxed); }
    void ustawStempel(std::uint32_t ms) noexcept { stempel_.store(ms, std::memory_order_relaxed); }
    std::uint8_t takt() const noexcept { return takt_.load(std::memory_order_relaxed); }
    void ustawTakt(std::uint8_t t) noexcept { takt_.store(t, std::memory_order_relaxed); }

private:
    std::atomic<std::uint32_t> stempel_{0};
    std::atomic<std::uint8_t> takt_{0};
};

struct Pamiec {
    ObszarBitowy IR; // IR/SR area: inputs, outputs, work bits, analog words, system bits
    ObszarBitowy HR; // HR/AR/LR area
    std::array<std::atomic<std::uint8_t>, 8> TR{};
    std::array<PozycjaTC, LiczbaTC> TC{};
    std::array<std::atomic<std::int32_t>, LiczbaDM> DM{};
    std::array<std::atomic<std::uint8_t>, LiczbaZboczy> zbocza{};
    std::array<SlotCzasu, LiczbaSlotow> sloty{};

    // Power-on: present values 0, status words "0000", both bit areas 0.
    void resetZalaczenia() noexcept;
};

} // namespace plc
