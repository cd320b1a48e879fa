#pragma once

#include <cstddef>

// Paths, configuration values, option texts and messages live in buffers of
// this many characters, the terminator included. Wherever the launcher reads
// into such a buffer it cuts or refuses at this size, as each caller decides.
inline constexpr size_t kBufferCapacity = 8192;
