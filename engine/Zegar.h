#pragma once

#include <cstdint>
#include <functional>

namespace plc {

// The 32-bit wrapping millisecond count of the system (GetTickCount); tests
// give a clock they step by hand.
using Zegar = std::function<std::uint32_t()>;

// Milliseconds of a monotonic clock, wrapping at 2^32.
Zegar ZegarSystemowy();

} // namespace plc
