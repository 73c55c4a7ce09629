#include "Interpreter.h"

#include "Dekodowanie.h"

namespace plc {

using dekodowanie::Bajt;
using dekodowanie::Cyfra;

bool Interpreter::Przebieg() {
    wysokosc_ = 0;
    warunek_ = 0;
    licznikZboczy_ = 0;
    licznikSlotow_ = 0;
    pominiecie_ = 0;
    try {
        for (int k = 0; k < program_.liczbaLinii(); ++k) {
            if (pominiecie_ > 0) {
                // An operand, constant or action word of the previous instruction.
                --pominiecie_;
                continue;
            }
            if (!WykonajSlowo(k)) {
                break;
            }
        }
    } catch (const BladKonwersji&) {
        return false;
    }
    return true;
}

bool Interpreter::WykonajSlowo(int k) {
    const SlowoProgramu slowo = program_.odczytaj(k);
    const int grupa = Cyfra(slowo, 0);
    switch (grupa) {
    case 0x0:
        Grupa0(slowo, k);
        return true;
    case 0x1:
        return Grupa1(slowo, k);
    case 0x2:
        Wyjscie(DekodujBit(slowo), k);
        return true;
    case 0x3:
        WyjscieZKanalemWSlowie(slowo, k);
        return true;
    default:
        break;
    }
    // Groups 4-F: OR, LD, AND; 2 in the group marks the negation, 1 a
    // completion flag in place of a bit.
    const std::uint8_t wartosc =
        (grupa & 1) == 0 ? DekodujBit(slowo).wartosc : FlagaZakonczenia(Bajt(slowo, 2));
    Logika(grupa, static_cast<std::uint8_t>(wartosc ^ ((grupa >> 1) & 1)));
    return true;
}

Interpreter::OperandBitowy Interpreter::DekodujBit(const SlowoProgramu& slowo) {
    OperandBitowy operand;
    operand.kanal = Bajt(slowo, 1);
    const int cyfra = Cyfra(slowo, 3);
    if (operand.kanal == 0xFF && cyfra < 8) {
        operand.tr = true;
        operand.bit = cyfra;
        operand.wartosc =
            pamiec_.TR[static_cast<std::size_t>(cyfra)].load(std::memory_order_relaxed) != 0;
    } else {
        operand.bit = NumerBitu(cyfra);
        operand.wartosc = pamiec_.IR.bit(operand.kanal, operand.bit) != 0;
    }
    BitySpecjalne(operand);
    return operand;
}

void Interpreter::BitySpecjalne(OperandBitowy& operand) {
    if (operand.tr || operand.kanal < PierwszyKanalSystemowy) {
        return;
    }
    const auto jest = [&operand](AdresBitu adres) {
        return operand.kanal == adres.kanal && operand.bit == adres.bit;
    };
    if (jest(ZawszeWlaczony)) {
        operand.wartosc = 1;
    } else if (jest(ZawszeWylaczony)) {
        operand.wartosc = 0;
    } else if (jest(ZegarMinutowy)) {
        BitZegarowy(ZegarMinutowy, 30001, 60001);
    } else if (jest(ZegarSekundowy)) {
        BitZegarowy(ZegarSekundowy, 501, 1001);
    }
}

// The word's own slot holds the start of the clock's period; the word that
// names the clock sees the bit as it stood before this update.
void Interpreter::BitZegarowy(AdresBitu zegar, std::uint32_t granicaWlaczenia,
                              std::uint32_t granicaOkresu) {
    SlotCzasu& slot = pamiec_.sloty[++licznikSlotow_];
    const std::uint32_t teraz = zegar_();
    const std::uint32_t uplynelo = teraz - slot.stempel();
    if (uplynelo < granicaWlaczenia) {
        pamiec_.IR.ustaw(zegar, 1);
    } else if (uplynelo < granicaOkresu) {
        pamiec_.IR.ustaw(zegar, 0);
    } else {
        slot.ustawStempel(teraz);
    }
}

std::uint8_t Interpreter::FlagaZakonczenia(int pozycja) const noexcept {
    if (pozycja >= LiczbaTC) {
        return 0;
    }
    return pamiec_.TC[static_cast<std::size_t>(pozycja)].wartosc() <= 0 ? 1 : 0;
}

PozycjaTC* Interpreter::Pozycja(int numer) noexcept {
    return numer < LiczbaTC ? &pamiec_.TC[static_cast<std::size_t>(numer)] : nullptr;
}

} // namespace plc
