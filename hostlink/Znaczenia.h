#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hostlink {

// What a frame is by its fixed positions alone, as the recognition tells
// commands apart: the meaning the monitor shows. Frames without "@" depend
// on the transfer under way; the host link names those itself.
std::string ZnaczenieRamki(std::string_view ramka);

// The number with the Polish form of its noun: 1 pozycja, 3 pozycje,
// 16 pozycji; thousands grouped with a space.
std::string Odmiana(std::size_t liczba, std::string_view jedna, std::string_view kilka,
                    std::string_view wiele);

} // namespace hostlink
