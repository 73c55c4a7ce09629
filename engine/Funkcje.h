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
// run-time library's conversion text, "'$XY' is not a valid integer value",
// which the programming software's user sees in the error box.
class BladKonwersji : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Hexadecimal number of the text, as the run-time's StrToInt("$" + tekst).
int LiczbaSzesnastkowa(std::string_view tekst);

int NumerBitu(int cyfra);
// Form 3 (operand word AAbb) when forma4 is false; form 4 (word Scc?) when true.
int AdresKanalu(std::string_view slowo, bool forma4);
int WagaBitu(int bit);
int WartoscKanalu(const ObszarBitowy& obszar, int kanal);
void ZapisLiczby(ObszarBitowy& obszar, int kanal, std::string_view cyfry);
std::uint8_t ZnakNaBit(char znak);
char BitNaZnak(std::uint8_t bit);
void Porownanie(Pamiec& pamiec, std::int32_t a, std::int32_t b);
std::uint8_t ObrotWPrawo(ObszarBitowy& obszar, int kanal);
std::uint8_t ObrotWLewo(ObszarBitowy& obszar, int kanal);
void UstawKasuj(ObszarBitowy& obszar, int kanal, int bit, std::uint8_t ustaw, std::uint8_t kasuj);

} // namespace plc
