#pragma once

#include "engine/Pamiec.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

// No Qt: the file is read and written through the engine's line reader and
// its atomic whole-file writer.
//
// DM.cpm: the retained data words, one signed decimal number a line, CR LF.

inline constexpr int SlowaPlikuDM = 255;                // DM 0 to DM 254 are kept
inline constexpr std::uintmax_t NajkrotszyPlikDM = 765; // 255 lines of "0"

// A whole line as a signed 32-bit decimal number; anything else throws the
// run-time's conversion error "'<text>' is not a valid integer value".
std::int32_t LiczbaZWierszaDM(std::string_view tekst);

// Opens the file (it must exist, whatever the options say) and, when the words
// are retained, loads line k into DM k; CR LF, LF or a lone CR ends a line.
// Lines past the DM area are ignored. The file is checked whole before any
// word is stored, so a bad line changes nothing: its conversion error says
// "(DM.cpm, wiersz N)", N counted from 1. Throws plc::BladPliku (the system's
// text and the file's path) when the file cannot be read.
void OdczytDM(const std::filesystem::path& plik, bool podtrzymanie, plc::Pamiec& pamiec);

// Writes DM 0 to DM 254, replacing the file atomically; throws plc::BladPliku
// when it cannot.
void ZapisDM(const std::filesystem::path& plik, const plc::Pamiec& pamiec);

// The length of the file from its directory entry; 0 when it is missing.
std::uintmax_t DlugoscPliku(const std::filesystem::path& plik);
