#pragma once

#include <filesystem>

// No Qt: libsndfile reads the file, PulseAudio's simple API plays it.

// The output click, one of the shared files: found first in the current
// directory, then beside the executable, then among the installed files. The
// window checks for it at switch-on before it lets the lamps play it.
inline constexpr char PlikKliku[] = "Klik.wav";

// Plays a WAV file to the end and only then returns. Without a sound server,
// a device or a readable file it returns at once, silently. Safe to call from
// any thread, the scan worker included.
void OdtworzDzwiek(const std::filesystem::path& plik) noexcept;
