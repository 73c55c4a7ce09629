// Bit logic and outputs: LD, AND, OR and their negations, the blocks, OUT,
// OUT NOT, SET, RESET, KEEP and the one-scan pulses.
#include "Dekodowanie.h"
#include "Interpreter.h"

namespace plc {

using dekodowanie::Akcja;
using dekodowanie::Bajt;
using dekodowanie::Cyfra;

void Interpreter::Logika(int grupa, std::uint8_t wejscie) noexcept {
    switch (grupa & 0xC) {
    case 0x8: // LD
        Poloz(wejscie);
        break;
    case 0xC: // AND
        if (wysokosc_ > 0) {
            stos_[static_cast<std::size_t>(wysokosc_ - 1)] &= wejscie;
        }
        break;
    default: // OR
        if (wysokosc_ > 0) {
            stos_[static_cast<std::size_t>(wysokosc_ - 1)] |= wejscie;
        }
        break;
    }
}

void Interpreter::Blok(bool lub) noexcept {
    if (wysokosc_ < 2) {
        return;
    }
    const std::uint8_t b = Szczyt();
    const std::uint8_t a = PodSzczytem();
    wysokosc_ -= 2;
    Poloz(lub ? (a | b) : (a & b));
}

// Group 2: the action word's first character chooses the output. OUT and
// OUT NOT leave the action word to run as an instruction of its own.
void Interpreter::Wyjscie(const OperandBitowy& operand, int k) {
    const int akcja = Akcja(program_.odczytaj(k + 1));
    switch (akcja) {
    case 0x8:
    case 0xA: {
        if (wysokosc_ == 0) {
            return;
        }
        const std::uint8_t v = static_cast<std::uint8_t>(Szczyt() ^ (akcja == 0xA ? 1 : 0));
        if (operand.kanal == 0xFF) {
            // A TR bit keeps the rung's result for the outputs after it.
            pamiec_.TR[static_cast<std::size_t>(operand.bit & 7)].store(v,
                                                                        std::memory_order_relaxed);
        } else {
            pamiec_.IR.ustaw(operand.kanal, operand.bit, v);
            wysokosc_ = 0;
        }
        return;
    }
    case 0x0:
    case 0x1:
    case 0x2:
    case 0x3:
    case 0xC:
    case 0xD:
        pominiecie_ = 1;
        ZmienBit(akcja, operand.kanal, operand.bit);
        return;
    default:
        return;
    }
}

// Group 3: the bit number is in the word; the channel is in the action word
// for SET and RESET (the IR/SR SET, action 0, like the others), in the word
// itself for KEEP. OUT and OUT NOT have no channel here and do nothing,
// leaving the action word to run as an instruction of its own.
void Interpreter::WyjscieZKanalemWSlowie(const SlowoProgramu& slowo, int k) {
    const int bit = NumerBitu(Cyfra(slowo, 3));
    const SlowoProgramu slowoAkcji = program_.odczytaj(k + 1);
    const int akcja = Akcja(slowoAkcji);
    switch (akcja) {
    case 0x0:
    case 0x1:
    case 0x2:
    case 0x3:
        pominiecie_ = 1;
        ZmienBit(akcja, Bajt(slowoAkcji, 1), bit);
        return;
    case 0xC:
    case 0xD:
        pominiecie_ = 1;
        ZmienBit(akcja, Bajt(slowo, 1), bit);
        return;
    default:
        return;
    }
}

// SET (0, 1), RESET (2, 3) and KEEP (C, D); an odd action names the HR/AR/LR
// area, an even one the IR/SR area.
void Interpreter::ZmienBit(int akcja, int kanal, int bit) {
    ObszarBitowy& obszar = (akcja & 1) != 0 ? pamiec_.HR : pamiec_.IR;
    if (akcja >= 0xC) {
        if (wysokosc_ >= 2) {
            UstawKasuj(obszar, kanal, bit, PodSzczytem(), Szczyt());
        }
        return;
    }
    if (wysokosc_ == 0) {
        return;
    }
    if (akcja <= 1) {
        UstawKasuj(obszar, kanal, bit, Szczyt(), 0);
    } else {
        UstawKasuj(obszar, kanal, bit, 0, Szczyt());
    }
}

// The edge flag is taken even when the stack is too short, so that every
// edge-detecting word keeps the same flag in every scan.
void Interpreter::Impuls(bool narastajacy, int k) {
    pominiecie_ = 1;
    std::atomic<std::uint8_t>& flaga = pamiec_.zbocza[++licznikZboczy_];
    if (wysokosc_ == 0) {
        return;
    }
    const SlowoProgramu slowoBitu = program_.odczytaj(k + 1);
    const int kanal = Bajt(slowoBitu, 1);
    const int bit = NumerBitu(Cyfra(slowoBitu, 3));
    const std::uint8_t wejscie = Szczyt();
    const std::uint8_t poprzednie = flaga.load(std::memory_order_relaxed);
    if (narastajacy) {
        warunek_ = (poprzednie == 0 && wejscie == 1) ? 1 : 0;
    } else {
        warunek_ = (poprzednie == 1 && wejscie == 0) ? 1 : 0;
    }
    flaga.store(wejscie, std::memory_order_relaxed);
    const std::uint8_t stary = pamiec_.IR.bit(kanal, bit);
    pamiec_.IR.ustaw(kanal, bit, (warunek_ == 1 && stary == 0) ? 1 : 0);
}

} // namespace plc
