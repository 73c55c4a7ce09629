#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Small helpers for reading frames by character position and writing them.
namespace hostlink {

// The characters at positions pozycja to pozycja + dlugosc - 1, counting from
// 1 as the protocol does; shorter, or empty, where the frame ends earlier.
constexpr std::string_view Fragment(std::string_view ramka, std::size_t pozycja,
                                    std::size_t dlugosc) {
    if (pozycja == 0 || pozycja > ramka.size()) {
        return {};
    }
    return ramka.substr(pozycja - 1, dlugosc);
}

// At least the given number of uppercase hexadecimal digits, more where the
// value needs them.
inline void DopiszSzesnastkowo(std::string& cel, unsigned wartosc, int cyfr) {
    constexpr char znaki[] = "0123456789ABCDEF";
    char tekst[8];
    int dlugosc = 0;
    do {
        tekst[dlugosc++] = znaki[wartosc & 0x0F];
        wartosc >>= 4;
    } while (wartosc != 0 || dlugosc < cyfr);
    while (dlugosc > 0) {
        cel += tekst[--dlugosc];
    }
}

} // namespace hostlink
