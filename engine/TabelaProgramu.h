#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The program as the programming software sent it: 256 entries of 0 to 4
// characters and the 8-bit line count. A word fits one atomic 32-bit value, so
// a download under a running scan replaces words whole and never tears one.
namespace plc {

struct Pamiec;

inline constexpr int RozmiarTabeli = 256;

// One entry as the interpreter reads it: dlugosc characters of znaki are valid.
struct SlowoProgramu {
    char znaki[4]{};
    int dlugosc = 0;
    std::string_view tekst() const { return {znaki, static_cast<std::size_t>(dlugosc)}; }
};

class TabelaProgramu {
public:
    // An entry outside 0-255 reads as an empty word.
    SlowoProgramu odczytaj(int k) const noexcept;
    std::string slowo(int k) const { return std::string(odczytaj(k).tekst()); }
    // Keeps at most the first four characters (a NUL character ends the
    // word); an entry outside 0-255 is ignored.
    void ustaw(int k, std::string_view tekst) noexcept;
    // Empties every entry; the line count stays as it was.
    void wyczysc() noexcept;

    std::uint8_t liczbaLinii() const noexcept { return linie_.load(std::memory_order_relaxed); }
    void ustawLiczbeLinii(std::uint8_t n) noexcept { linie_.store(n, std::memory_order_relaxed); }

private:
    std::array<std::atomic<std::uint32_t>, RozmiarTabeli> slowa_{};
    std::atomic<std::uint8_t> linie_{0};
};

// Writes the non-empty entries, one a line with CR LF, through ZapiszAtomowo,
// so a crash never leaves a truncated program. Returns the number of lines
// written. Throws BladPliku (a std::system_error: the system's error text and
// the file's path) when the file cannot be written; the old file then stays
// as it was.
int ZapiszProgram(const TabelaProgramu& tabela, const std::filesystem::path& plik);

// The power-on load: lines 0 to 254 into the entries (at most 4 characters
// kept; CR LF, LF or a lone CR ends a line), entry 255 left as it was, the
// line count (the non-empty entries), all edge flags cleared, then the
// power-on memory reset. The file is read whole before anything changes: a
// missing or unreadable file throws BladPliku and leaves the table, the line
// count and the memory as they were. Once read, a temporary file that a
// killed write left beside it is removed.
void WczytajProgram(TabelaProgramu& tabela, Pamiec& pamiec, const std::filesystem::path& plik);

} // namespace plc
