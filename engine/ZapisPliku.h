#pragma once

#include <filesystem>
#include <string_view>

// The whole-file write of Program.cpm and DM.cpm: the text goes into the
// program's own temporary file beside the target (the target's name with
// ".tmp"), is synced, and is renamed over the target, so a crash never leaves
// a truncated file; a crash leaves at most that temporary file.
//
// The program has a second whole-file writer, dane/ZapisCaly.h over Qt's
// QSaveFile, for the options file, whose class is built on Qt anyway. This one
// stays apart because the engine has no Qt: it is plain POSIX.
namespace plc {

// Throws BladPliku, with the system's reason, when the file cannot be
// written; the old file then stays as it was and no temporary file is left.
// An existing target that may not be written (a read-only file, a read-only
// file system) is refused, not replaced. A temporary file left by an earlier
// run is removed first, whatever it is (a link is not followed).
void ZapiszAtomowo(const std::filesystem::path& plik, std::string_view tresc);

// Removes the temporary file a write killed half way left beside plik; the
// target itself is never touched. Silent when there is none or it cannot go.
void UsunPozostalyTymczasowy(const std::filesystem::path& plik);

} // namespace plc
