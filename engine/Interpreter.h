#pragma once

#include "Funkcje.h"
#include "MapaAdresow.h"
#include "Pamiec.h"
#include "TabelaProgramu.h"
#include "Zegar.h"

#include <array>
#include <cstdint>

namespace plc {

// Executes the program words, as text, against the memory areas: one call of
// Przebieg() is one program pass of a scan. The words are decoded character by
// character as they are reached; there is no compiled form, so a download
// under a running scan takes effect word by word.
//
// A word that cannot be decoded (a character that is not a hexadecimal digit
// where one is needed, a missing character of a short entry, a constant word
// that is not a decimal number, a non-digit for a channel) ends the pass at
// that word. Entries past the table read as empty words, and timer/counter
// entries 128-255 and DM 1024 read as 0 and take no writes, so no word makes
// the interpreter touch memory outside the areas.
//
// A word that the instruction before it consumes is skipped undecoded: only
// the instruction that reads it decides what its characters must be. An
// instruction that finds too few entries on the result stack does nothing
// but consume its words; it still takes its edge flag or time-stamp slot, so
// every later edge-detecting or time-based word keeps its own in every scan.
class Interpreter {
public:
    Interpreter(Pamiec& pamiec, const TabelaProgramu& program, const Zegar& zegar) noexcept
        : pamiec_(pamiec), program_(program), zegar_(zegar) {}

    // Entries 0 to line count - 1 (the count read afresh before each), or up
    // to an END. False when a word could not be decoded.
    bool Przebieg();

private:
    // The bit operand named in the word itself (characters 2-4); DekodujBit
    // also gives the special bits of channels 253-255 their values.
    struct OperandBitowy {
        int kanal = 0;
        int bit = 0;
        bool tr = false; // channel FF, digit 0-7: TR bit number `bit`
        std::uint8_t wartosc = 0;
    };

    // False when the word is END.
    bool WykonajSlowo(int k);
    OperandBitowy DekodujBit(const SlowoProgramu& slowo);
    void BitySpecjalne(OperandBitowy& operand);
    void BitZegarowy(AdresBitu zegar, std::uint32_t granicaWlaczenia, std::uint32_t granicaOkresu);
    std::uint8_t FlagaZakonczenia(int pozycja) const noexcept;

    // Bit logic and outputs.
    void Logika(int grupa, std::uint8_t wejscie) noexcept;
    void Blok(bool lub) noexcept;
    void Wyjscie(const OperandBitowy& operand, int k);
    void WyjscieZKanalemWSlowie(const SlowoProgramu& slowo, int k);
    void ZmienBit(int akcja, int kanal, int bit);
    void Impuls(bool narastajacy, int k);

    // Timers, counters and word instructions.
    void Grupa0(const SlowoProgramu& slowo, int k);
    bool Grupa1(const SlowoProgramu& slowo, int k);
    void Timer(int pozycja, int k, bool nastawaZeSlowa);
    void Licznik(int pozycja, int k, bool nastawaZeSlowa);
    void Porownaj(int forma, int k);
    void Przenies(int forma, int k);
    bool WarunekJednoargumentowy(int rodzajWarunku, int naZboczu, int coSkan);
    void ZwiekszZmniejsz(bool zwieksz, int rodzajWarunku, int k);
    void Obrot(bool wLewo, int rodzajWarunku, int k);
    bool WarunekPorownania() noexcept;
    std::int32_t WartoscZadana(int k, bool zeSlowa) const;
    std::int32_t CzytajOperand(const AdresOperandu& adres, bool wartoscTC) const;
    void ZapiszOperand(const AdresOperandu& adres, std::int32_t wartosc);
    std::uint8_t Takt(SlotCzasu& slot) const;
    std::uint8_t Zbocze(std::uint8_t numer, std::uint8_t wejscie) noexcept;
    PozycjaTC* Pozycja(int numer) noexcept;

    // The result stack.
    void Poloz(std::uint8_t bit) noexcept {
        if (wysokosc_ < static_cast<int>(stos_.size())) {
            stos_[static_cast<std::size_t>(wysokosc_++)] = bit;
        }
    }
    std::uint8_t Szczyt() const noexcept { return stos_[static_cast<std::size_t>(wysokosc_ - 1)]; }
    std::uint8_t PodSzczytem() const noexcept {
        return stos_[static_cast<std::size_t>(wysokosc_ - 2)];
    }

    Pamiec& pamiec_;
    const TabelaProgramu& program_;
    const Zegar& zegar_;

    // Per-scan state, reset at the start of every pass.
    std::array<std::uint8_t, RozmiarTabeli> stos_{};
    int wysokosc_ = 0;
    std::uint8_t warunek_ = 0;
    std::uint8_t licznikZboczy_ = 0;
    std::uint8_t licznikSlotow_ = 0;
    int pominiecie_ = 0;
};

} // namespace plc
