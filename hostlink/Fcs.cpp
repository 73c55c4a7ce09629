#include "Fcs.h"

#include "Tekst.h"

#include <cstdint>

namespace hostlink {

std::string FCS(std::string_view tekst) {
    std::uint8_t suma = 0;
    for (const char znak : tekst) {
        suma ^= static_cast<std::uint8_t>(znak);
    }
    std::string wynik;
    DopiszSzesnastkowo(wynik, suma, 2);
    return wynik;
}

std::string RamkaKoncowa(std::string_view tekst) {
    std::string ramka(tekst);
    ramka += FCS(tekst);
    ramka += "*\r";
    return ramka;
}

std::string RamkaPosrednia(std::string_view tekst) {
    std::string ramka(tekst);
    ramka += FCS(tekst);
    ramka += '\r';
    return ramka;
}

} // namespace hostlink
