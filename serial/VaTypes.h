#pragma once

#include <cstdint>
#include <initializer_list>

// Enumerations of the serial port component. They are unscoped on purpose:
// callers write the short value names (br9600, paEven, db7, sb2) as they stand,
// or qualified (TVaBaudrate::br9600). Ordinals start at 0 in the listed order.

enum TVaBaudrate : std::uint8_t {
    brUser,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};

enum TVaParity : std::uint8_t { paNone, paOdd, paEven, paMark, paSpace };

enum TVaDatabits : std::uint8_t { db4, db5, db6, db7, db8 };

enum TVaStopbits : std::uint8_t { sb1, sb15, sb2 };

enum TVaControlDtr : std::uint8_t { dtrDisabled, dtrEnabled, dtrHandshake };

enum TVaControlRts : std::uint8_t { rtsDisabled, rtsEnabled, rtsHandshake, rtsToggle };

enum TVaCommOption : std::uint8_t { coErrorChar, coNullStrip };

enum TVaCommEvent : std::uint8_t {
    ceBreak,
    ceCts,
    ceDsr,
    ceError,
    ceRing,
    ceRlsd,
    ceRxChar,
    ceTxEmpty,
    ceRxFlag,
    cePErr,
    ceRx80Full,
    ceEvent1,
    ceEvent2
};

// A request to the scheduler; Linux may ignore it, and it never fails.
enum TVaThreadPriority : std::uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// A set of enumeration values (at most 32 of them), one bit per ordinal.
template <typename E> class TVaSet {
public:
    constexpr TVaSet() = default;
    constexpr TVaSet(std::initializer_list<E> items) {
        for (E item : items) {
            bits_ |= Bit(item);
        }
    }

    constexpr bool Contains(E item) const { return (bits_ & Bit(item)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr TVaSet& Include(E item) {
        bits_ |= Bit(item);
        return *this;
    }
    constexpr TVaSet& Exclude(E item) {
        bits_ &= ~Bit(item);
        return *this;
    }

    friend constexpr bool operator==(TVaSet, TVaSet) = default;

private:
    static constexpr std::uint32_t Bit(E item) { return std::uint32_t{1} << item; }

    std::uint32_t bits_ = 0;
};

using TVaCommOptions = TVaSet<TVaCommOption>;
using TVaCommEvents = TVaSet<TVaCommEvent>;
