#include "Zegar.h"

#include <chrono>

namespace plc {

Zegar ZegarSystemowy() {
    return [] {
        const auto teraz = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(teraz).count());
    };
}

} // namespace plc
