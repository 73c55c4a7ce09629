#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

// Qt Core only: QCoreApplication for the executable's directory.
//
// The files the program reads but never writes: the click, the help page and
// the defaults a new data directory starts with. They are found whatever the
// current directory is, so a program started from a menu or from any terminal
// finds them as one started from its own folder does.

// <executable's directory>/../share: what an installation keeps beside the
// programs (the program's own files, the icons of the menu entry).
std::filesystem::path KatalogShare();

// KatalogShare()/parvolen: the installed click, help page and default data
// files.
std::filesystem::path KatalogPlikowWspolnych();

// Where a shared file is looked for, in this order: the current directory (as
// the program has always looked), the executable's directory (the build's
// staged installation) and the installation's shared files. Absolute paths.
std::vector<std::filesystem::path> KatalogiPlikowWspolnych();

// The first of the directories that holds the file named by the relative
// path, as an absolute path; nothing when none does.
std::optional<std::filesystem::path> ZnajdzPlik(const std::filesystem::path& nazwa,
                                                const std::vector<std::filesystem::path>& katalogi);

// ZnajdzPlik over KatalogiPlikowWspolnych(). Reads the executable's path,
// which Qt caches at the first call: call it from the window thread.
std::optional<std::filesystem::path> PlikWspolny(const std::filesystem::path& nazwa);
