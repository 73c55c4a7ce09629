#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The answers the simulator replays as they stand. They make it look to the
// programming software like a controller of the chosen model; the software
// compares them byte for byte, so not one character may change.
namespace hostlink::ramki {

inline constexpr std::string_view SamCR = "\r";
inline constexpr std::string_view Potwierdzenie = "@00MB000400004B*\r";

inline constexpr std::string_view Odpowiedz1604 = "@00MB000700000000064E*\r";
inline constexpr std::string_view Odpowiedz1006Znak0 = "@00MB008902000000410000,800865*\r";
inline constexpr std::string_view Odpowiedz1006Znak2 = "@00MB008904000002420004,201880186C*\r";
inline constexpr std::string_view Odpowiedz1006Znak3 = "@00MB008902000003210008,180160*\r";
inline constexpr std::string_view Odpowiedz4103 = "@00MB00100000000006C0000000000EC0AAC04E*\r";

// The final continuation of "5E9E" and the first of the two frames answering it.
inline constexpr std::string_view Zapytanie5E9E =
    "FF003F0063001B000001FF81FF0000000019FF27FF0060000F17FF0000000000000040330200000004006300"
    "630000000000000000000000000000000072*\r";
inline constexpr std::string_view Odpowiedz5E9E =
    "@00MB5E9E5380000000000143582D5365727665722020202020202030312E3230,43323030485A2020202020"
    "2020202020000000000001FF003F0063001B0011\r";
// The second and last frame of the answers to "5E9E" and "4A07". Its check
// characters "71" are not the exclusive OR of the text, and the software
// expects them so.
inline constexpr std::string_view DrugaRamkaOdpowiedzi =
    "0,436300630000000000000000000000000000000071*\r";

// "@00MB0087000006C080," and 106 "0", FCS "11", CR: the first of two frames.
const std::string& Odpowiedz4A07();
// 126 "0" and CR: a continuation frame of "4B86" that has a successor, and
// also the fill frame of a program upload.
const std::string& RamkaZer();
// 50 "0", "*" and CR: the last continuation frame of "4B86".
const std::string& OstatniaRamka4B86();
// 40 "0", "*" and CR: the closing frame of a program upload.
const std::string& RamkaZamykajaca();

enum class Tryb { Program, Monitor, Run };

// The answer to the status read "1A03" in the given mode.
std::string_view RamkaStatusu(Tryb tryb);

// The answer to "2D04" for models 1 to 3; other models get none.
std::optional<std::string_view> RamkaTozsamosci(std::uint8_t model);

} // namespace hostlink::ramki
