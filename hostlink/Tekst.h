#pragma once

#include <cstddef>
#include <string_view>

// Small helpers for reading frames by character position.
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

// n / 2 rounded to the nearest whole number, a half going to the even neighbour:
// how both the monitor read and the download turn a byte count into items.
constexpr int PolowaDoParzystej(int n) {
    const int polowa = n / 2;
    if (n % 2 == 0 || polowa % 2 == 0) {
        return polowa;
    }
    return polowa + 1;
}

} // namespace hostlink
