#pragma once

#include <filesystem>

// Qt Core only: QSettings for the system-wide settings and QCoreApplication
// for the executable's directory.
//
// The data directory: "Setup/InstallPath" of the system-wide settings of
// Orvanta/Parvolen, without a trailing separator. When the value is missing or
// empty, the directory of the executable, where the build stages a ready
// installation (the root of the file system is no place for a user's files).
std::filesystem::path KatalogDanych();
