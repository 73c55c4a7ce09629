#pragma once

#include "Pamiec.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// The helper operations through which the engine and the monitor read reach
// the memory areas. They keep no state of their own.
namespace plc {

// A character that is not a digit where the word needs one. The message is the
// run-time library's conversion text, "'$XY' is not a valid integer value"
// (without the "$" for decimal conversions), which the programming software's
// user sees in the error box.
class BladKonwersji : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The run-time library's conversion text for the text as it was converted
// ("$XY" for a hexadecimal conversion): the one wording every conversion
// error of the program uses, the options and DM files' and the port
// dialog's too.
std::string TekstBleduKonwersji(std::string_view tekst);

// The value of one hexadecimal digit (either letter case), or -1.
constexpr int CyfraSzesnastkowa(char znak) noexcept {
    if (znak >= '0' && znak <= '9') {
        return znak - '0';
    }
    if (znak >= 'A' && znak <= 'F') {
        return znak - 'A' + 10;
    }
    if (znak >= 'a' && znak <= 'f') {
        return znak - 'a' + 10;
    }
    return -1;
}

// Hexadecimal number of the text, as the run-time's StrToInt("$" + tekst):
// one to eight digits, eight digits giving the 32-bit pattern.
int LiczbaSzesnastkowa(std::string_view tekst);
// Decimal number of the text: one to nine digits '0'-'9', nothing else (the
// constant words of a program). Throws BladKonwersji otherwise.
int LiczbaDziesietna(std::string_view tekst);

// What an operand word AAbb names.
enum class RodzajAdresu : std::uint8_t {
    HR,        // 00, 03: channel of the HR/AR/LR area
    IR,        // 01, 02: channel of the IR/SR area
    WartoscTC, // 04: present value of a timer/counter entry
    StatusTC,  // 08: status word of a timer/counter entry
    DM,        // 0C-13: DM word; numer 1024 (from 13FF) lies past the area
    Brak,      // any other area code: no address
};

struct AdresOperandu {
    RodzajAdresu rodzaj = RodzajAdresu::Brak;
    int numer = 0;
};

// DM word numer, 0 past the area: the operand word 13FF names DM 1024.
inline std::int32_t SlowoDM(const Pamiec& pamiec, int numer) noexcept {
    if (numer < 0 || numer >= LiczbaDM) {
        return 0;
    }
    return pamiec.DM[static_cast<std::size_t>(numer)].load(std::memory_order_relaxed);
}

// n / 2 rounded to the nearest whole number, a half going to the even
// neighbour: how a DM operand word, the monitor read and the download turn a
// byte count into items.
constexpr int PolowaDoParzystej(int n) noexcept {
    const int polowa = n / 2;
    if (n % 2 == 0 || polowa % 2 == 0) {
        return polowa;
    }
    return polowa + 1;
}

// Decodes an operand word; throws BladKonwersji when its four characters are
// not hexadecimal digits.
AdresOperandu DekodujAdres(std::string_view slowo);

int NumerBitu(int cyfra);
// Form 3 (operand word AAbb) when forma4 is false: the channel, entry or DM
// number, -1 for an area code that names no address. Form 4 (word Scc?) when
// true: the channel cc.
int AdresKanalu(std::string_view slowo, bool forma4);
int WagaBitu(int bit);
int WartoscKanalu(const ObszarBitowy& obszar, int kanal);
// Writes the digits into the channel by BCD positions, the rightmost digit
// into bits 0-3. Digits left of the fourth from the right have no place in a
// 16-bit channel and are dropped, so no other channel is touched. Throws
// BladKonwersji, leaving the channel as it was, on any character but '0'-'9'.
void ZapisLiczby(ObszarBitowy& obszar, int kanal, std::string_view cyfry);
std::uint8_t ZnakNaBit(char znak);
char BitNaZnak(std::uint8_t bit);
// The comparison flags SR255 bits 05-07 (greater, equal, less) from a and b;
// ZerujFlagiPorownania puts all three out.
void Porownanie(Pamiec& pamiec, std::int32_t a, std::int32_t b);
void ZerujFlagiPorownania(Pamiec& pamiec) noexcept;
std::uint8_t ObrotWPrawo(ObszarBitowy& obszar, int kanal);
std::uint8_t ObrotWLewo(ObszarBitowy& obszar, int kanal);
void UstawKasuj(ObszarBitowy& obszar, int kanal, int bit, std::uint8_t ustaw, std::uint8_t kasuj);

} // namespace plc
