#pragma once

#include "core/LittleEndian.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Patching little-endian integers into byte images that tests build or damage.
inline void put16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    storeLittleEndian(bytes.data() + at, static_cast<uint16_t>(value));
}

inline void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    storeLittleEndian(bytes.data() + at, value);
}
