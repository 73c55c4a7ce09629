// Timers, counters and the word instructions: COMPARE, MOVE, INCREMENT,
// DECREMENT, ROTATE LEFT and ROTATE RIGHT.
#include "Dekodowanie.h"
#include "Interpreter.h"
#include "MapaAdresow.h"

#include <charconv>

namespace plc {

using dekodowanie::Bajt;
using dekodowanie::Cyfra;

namespace {

constexpr int RodzajTimer = 0x8;
constexpr int RodzajTimerZeSlowa = 0xC;
constexpr int RodzajLicznik = 0xA;
constexpr int RodzajLicznikZeSlowa = 0xE;

} // namespace

void Interpreter::Grupa0(const SlowoProgramu& slowo, int k) {
    const int pozycja = Bajt(slowo, 2);
    switch (Cyfra(slowo, 1)) {
    case RodzajTimer:
        Timer(pozycja, k, false);
        break;
    case RodzajTimerZeSlowa:
        Timer(pozycja, k, true);
        break;
    case RodzajLicznik:
        Licznik(pozycja, k, false);
        break;
    case RodzajLicznikZeSlowa:
        Licznik(pozycja, k, true);
        break;
    default:
        break;
    }
}

// Group 1: form S (character 2) and operation (character 4). False for END.
bool Interpreter::Grupa1(const SlowoProgramu& slowo, int k) {
    const int forma = Cyfra(slowo, 1);
    switch (forma) {
    case 0x0:
        Blok(false);
        return true;
    case 0x2:
        Blok(true);
        return true;
    case 0x8: {
        const int operacja = Cyfra(slowo, 3);
        if (operacja == 0x1) {
            return false;
        }
        if (operacja == 0x4) {
            Porownaj(forma, k);
        }
        return true;
    }
    case 0xA:
    case 0xE: {
        const int operacja = Cyfra(slowo, 3);
        if (operacja == 0x4) {
            Porownaj(forma, k);
        } else if (operacja == 0x5) {
            Przenies(forma, k);
        } else {
            pominiecie_ = 2;
            WarunekPorownania();
        }
        return true;
    }
    case 0xC:
        switch (Cyfra(slowo, 3)) {
        case 0x4:
            Porownaj(forma, k);
            break;
        case 0x6:
            ZwiekszZmniejsz(true, Cyfra(slowo, 2), k);
            break;
        case 0x7:
            ZwiekszZmniejsz(false, Cyfra(slowo, 2), k);
            break;
        case 0xB:
            Obrot(true, Cyfra(slowo, 2), k);
            break;
        case 0xC:
            Obrot(false, Cyfra(slowo, 2), k);
            break;
        case 0xD:
            Impuls(true, k);
            break;
        case 0xE:
            Impuls(false, k);
            break;
        default:
            break;
        }
        return true;
    default:
        return true;
    }
}

// 100 ms tick from the word's own slot: 1 in the first 50 ms of a period, 0
// in the next 50; at or past 100 ms the slot is stamped anew and the tick
// stays what it was. A period may thus stretch by up to one scan.
std::uint8_t Interpreter::Takt(SlotCzasu& slot) const {
    const std::uint32_t teraz = zegar_();
    const std::uint32_t uplynelo = teraz - slot.stempel();
    if (uplynelo < 50) {
        slot.ustawTakt(1);
    } else if (uplynelo < 100) {
        slot.ustawTakt(0);
    } else {
        slot.ustawStempel(teraz);
    }
    return slot.takt();
}

void Interpreter::Timer(int pozycja, int k, bool nastawaZeSlowa) {
    pominiecie_ = 1;
    SlotCzasu& slot = pamiec_.sloty[++licznikSlotow_];
    if (wysokosc_ == 0) {
        return;
    }
    const std::uint8_t takt = Takt(slot);
    const std::int32_t nastawa = WartoscZadana(k, nastawaZeSlowa);
    PozycjaTC* tc = Pozycja(pozycja);
    if (tc == nullptr) {
        return;
    }
    if (pamiec_.IR.bit(PierwszyCykl) != 0) {
        tc->ustawWartosc(nastawa);
        return;
    }
    if (Szczyt() == 0) {
        tc->ustawWartosc(nastawa);
        tc->ustawStatus("2800");
        return;
    }
    // A negative set value (from a DM word) counts as done too, like the
    // completion flag, instead of counting down without end.
    if (tc->wartosc() <= 0) {
        tc->ustawStatus("E800");
        return;
    }
    if (takt == 1 && tc->poprzedniTakt() == 0) {
        tc->ustawWartosc(tc->wartosc() - 1);
        tc->ustawPoprzedniTakt(1);
    } else if (takt == 0 && tc->poprzedniTakt() == 1) {
        tc->ustawPoprzedniTakt(0);
        tc->ustawStatus("6800");
    }
}

// The count input lies below the top of the stack, the reset input on top;
// both are removed.
void Interpreter::Licznik(int pozycja, int k, bool nastawaZeSlowa) {
    pominiecie_ = 1;
    const std::uint8_t zakonczony = FlagaZakonczenia(pozycja);
    const std::uint8_t numerZbocza = ++licznikZboczy_;
    if (wysokosc_ < 2) {
        return;
    }
    const std::uint8_t kasowanie = Szczyt();
    warunek_ = Zbocze(numerZbocza, PodSzczytem());
    const std::int32_t nastawa = WartoscZadana(k, nastawaZeSlowa);
    if (PozycjaTC* tc = Pozycja(pozycja); tc != nullptr) {
        if (pamiec_.IR.bit(PierwszyCykl) != 0) {
            tc->ustawWartosc(nastawa);
        } else if (zakonczony == 0 && warunek_ == 1) {
            tc->ustawWartosc(tc->wartosc() - 1);
            tc->ustawStatus("7800");
        } else if (zakonczony == 1) {
            tc->ustawStatus("F800");
        } else {
            tc->ustawStatus("3800");
        }
        if (kasowanie == 1) {
            tc->ustawWartosc(nastawa);
        }
    }
    wysokosc_ -= 2;
}

void Interpreter::Porownaj(int forma, int k) {
    pominiecie_ = 2;
    if (!WarunekPorownania()) {
        return;
    }
    const SlowoProgramu pierwsze = program_.odczytaj(k + 1);
    const SlowoProgramu drugie = program_.odczytaj(k + 2);
    if (forma == 0x8 && pierwsze.tekst() == "DEAD") {
        ZerujFlagiPorownania(pamiec_);
        return;
    }
    // Form bit 4: the first following word is an operand word; bit 2: the second.
    const std::int32_t a = (forma & 0x4) != 0 ? CzytajOperand(DekodujAdres(pierwsze.tekst()), true)
                                              : LiczbaDziesietna(pierwsze.tekst());
    const std::int32_t b = (forma & 0x2) != 0 ? CzytajOperand(DekodujAdres(drugie.tekst()), true)
                                              : LiczbaDziesietna(drugie.tekst());
    Porownanie(pamiec_, a, b);
}

void Interpreter::Przenies(int forma, int k) {
    pominiecie_ = 2;
    if (!WarunekPorownania()) {
        return;
    }
    const SlowoProgramu zrodlo = program_.odczytaj(k + 1);
    const AdresOperandu cel = DekodujAdres(program_.odczytaj(k + 2).tekst());
    if (forma == 0xE) {
        ZapiszOperand(cel, CzytajOperand(DekodujAdres(zrodlo.tekst()), true));
        return;
    }
    // A constant goes into a channel by its own characters.
    const std::int32_t stala = LiczbaDziesietna(zrodlo.tekst());
    if (cel.rodzaj == RodzajAdresu::IR || cel.rodzaj == RodzajAdresu::HR) {
        ZapisLiczby(cel.rodzaj == RodzajAdresu::IR ? pamiec_.IR : pamiec_.HR, cel.numer,
                    zrodlo.tekst());
    } else {
        ZapiszOperand(cel, stala);
    }
}

// The execution condition of a one-operand word: taken on the rise when the
// condition character is naZboczu (the word's edge flag is taken even with an
// empty stack, so later words keep theirs), every scan when it is coSkan.
bool Interpreter::WarunekJednoargumentowy(int rodzajWarunku, int naZboczu, int coSkan) {
    if (rodzajWarunku == naZboczu) {
        const std::uint8_t numerZbocza = ++licznikZboczy_;
        if (wysokosc_ == 0) {
            return false;
        }
        warunek_ = Zbocze(numerZbocza, Szczyt());
    } else if (rodzajWarunku == coSkan) {
        if (wysokosc_ == 0) {
            return false;
        }
        warunek_ = Szczyt();
    } else {
        return false;
    }
    return warunek_ != 0;
}

void Interpreter::ZwiekszZmniejsz(bool zwieksz, int rodzajWarunku, int k) {
    pominiecie_ = 1;
    if (!WarunekJednoargumentowy(rodzajWarunku, 0xA, 0x2)) {
        return;
    }
    const AdresOperandu adres = DekodujAdres(program_.odczytaj(k + 1).tekst());
    if (adres.rodzaj != RodzajAdresu::IR && adres.rodzaj != RodzajAdresu::HR &&
        adres.rodzaj != RodzajAdresu::DM) {
        return;
    }
    const std::int32_t v = CzytajOperand(adres, false);
    std::int32_t wynik = 0;
    if (zwieksz) {
        wynik = v == 9999 ? 0 : static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + 1u);
    } else {
        wynik = v == 0 ? 9999 : static_cast<std::int32_t>(static_cast<std::uint32_t>(v) - 1u);
    }
    ZapiszOperand(adres, wynik);
}

void Interpreter::Obrot(bool wLewo, int rodzajWarunku, int k) {
    pominiecie_ = 1;
    pamiec_.IR.ustaw(Przeniesienie, 0);
    if (!WarunekJednoargumentowy(rodzajWarunku, 0x9, 0x1)) {
        return;
    }
    const AdresOperandu adres = DekodujAdres(program_.odczytaj(k + 1).tekst());
    if (adres.rodzaj == RodzajAdresu::IR || adres.rodzaj == RodzajAdresu::HR) {
        ObszarBitowy& obszar = adres.rodzaj == RodzajAdresu::IR ? pamiec_.IR : pamiec_.HR;
        const std::uint8_t przeniesienie =
            wLewo ? ObrotWLewo(obszar, adres.numer) : ObrotWPrawo(obszar, adres.numer);
        pamiec_.IR.ustaw(Przeniesienie, przeniesienie);
    } else if (adres.rodzaj == RodzajAdresu::DM && adres.numer < LiczbaDM) {
        // A DM word is an integer: doubled or halved (rounding down), the
        // carry stays 0. The doubling wraps at 32 bits instead of overflowing.
        std::atomic<std::int32_t>& dm = pamiec_.DM[static_cast<std::size_t>(adres.numer)];
        const std::int32_t v = dm.load(std::memory_order_relaxed);
        dm.store(wLewo ? static_cast<std::int32_t>(static_cast<std::uint32_t>(v) << 1) : (v >> 1),
                 std::memory_order_relaxed);
    }
}

// The execution condition of COMPARE and MOVE: true when the top is 1; a top
// of 0 clears the comparison flags, an empty stack changes nothing.
bool Interpreter::WarunekPorownania() noexcept {
    if (wysokosc_ == 0) {
        return false;
    }
    if (Szczyt() != 1) {
        ZerujFlagiPorownania(pamiec_);
        return false;
    }
    return true;
}

std::int32_t Interpreter::WartoscZadana(int k, bool zeSlowa) const {
    const SlowoProgramu slowo = program_.odczytaj(k + 1);
    return zeSlowa ? CzytajOperand(DekodujAdres(slowo.tekst()), false)
                   : LiczbaDziesietna(slowo.tekst());
}

// Present values are read only where wartoscTC allows (COMPARE and the MOVE
// source); any address the instruction cannot read gives 0.
std::int32_t Interpreter::CzytajOperand(const AdresOperandu& adres, bool wartoscTC) const {
    switch (adres.rodzaj) {
    case RodzajAdresu::HR:
        return WartoscKanalu(pamiec_.HR, adres.numer);
    case RodzajAdresu::IR:
        return WartoscKanalu(pamiec_.IR, adres.numer);
    case RodzajAdresu::WartoscTC:
        return wartoscTC ? pamiec_.TC[static_cast<std::size_t>(adres.numer)].wartosc() : 0;
    case RodzajAdresu::DM:
        return SlowoDM(pamiec_, adres.numer);
    default:
        return 0;
    }
}

// A channel takes the value's decimal digits (the last four of a larger
// value; a negative one has a '-' and fails as a non-digit); a DM word the
// integer. Anything else takes nothing.
void Interpreter::ZapiszOperand(const AdresOperandu& adres, std::int32_t wartosc) {
    switch (adres.rodzaj) {
    case RodzajAdresu::HR:
    case RodzajAdresu::IR: {
        char cyfry[16];
        const auto wynik = std::to_chars(std::begin(cyfry), std::end(cyfry), wartosc);
        ZapisLiczby(adres.rodzaj == RodzajAdresu::IR ? pamiec_.IR : pamiec_.HR, adres.numer,
                    std::string_view(cyfry, static_cast<std::size_t>(wynik.ptr - cyfry)));
        return;
    }
    case RodzajAdresu::DM:
        if (adres.numer < LiczbaDM) {
            pamiec_.DM[static_cast<std::size_t>(adres.numer)].store(wartosc,
                                                                    std::memory_order_relaxed);
        }
        return;
    default:
        return;
    }
}

// The edge rule of COUNTER, INCREMENT, DECREMENT and the rotates: 1 only when
// the input rises since this word's last evaluation.
std::uint8_t Interpreter::Zbocze(std::uint8_t numer, std::uint8_t wejscie) noexcept {
    std::atomic<std::uint8_t>& flaga = pamiec_.zbocza[numer];
    const std::uint8_t poprzednie = flaga.load(std::memory_order_relaxed);
    flaga.store(wejscie, std::memory_order_relaxed);
    return (poprzednie == 0 && wejscie == 1) ? 1 : 0;
}

} // namespace plc
