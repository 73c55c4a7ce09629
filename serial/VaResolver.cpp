#include "serial/VaResolver.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::filesystem::path EnvDirectory(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

} // namespace

std::string VaVirtualLinkPath(const std::string& portName) {
    std::filesystem::path base = EnvDirectory("XDG_RUNTIME_DIR");
    if (base.empty()) {
        base = EnvDirectory("HOME") / ".cache";
    }
    return (base / "parvolen" / portName).string();
}
