#include "core/PayloadMask.h"

#include "core/PayloadFormat.h"

#include <cstring>

void applyEmbeddedFileMask(uint8_t* bytes, size_t size) {
    constexpr uint64_t kWordMask = 0x0101010101010101ull * payload::kEmbeddedFileMask;
    size_t i = 0;
    for (; i + sizeof(uint64_t) <= size; i += sizeof(uint64_t)) {
        uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        word ^= kWordMask;
        std::memcpy(bytes + i, &word, sizeof word);
    }
    for (; i < size; ++i) bytes[i] ^= payload::kEmbeddedFileMask;
}
