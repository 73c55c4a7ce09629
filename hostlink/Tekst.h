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

} // namespace hostlink
