#pragma once

#include <cstdint>

namespace platform {

// Names a native top-level window of the backend. A backend never hands
// out the same value twice during a run, so a stale value names nothing.
using NativeWindow = std::uint64_t;
constexpr NativeWindow NoWindow = 0;

}  // namespace platform
