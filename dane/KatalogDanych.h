#pragma once

#include <filesystem>

// The data directory: "Setup/InstallPath" of the system-wide settings of
// Orvanta/Parvolen, without a trailing separator. When the value is missing or
// empty, the directory of the executable, where the build stages a ready
// installation (the root of the file system is no place for a user's files).
std::filesystem::path KatalogDanych();
