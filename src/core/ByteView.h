#pragma once

#include "core/LittleEndian.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Bounds-checked little-endian reads over a block of bytes, for parsing file
// structures that may be damaged: check with has() before reading.
class ByteView {
public:
    explicit ByteView(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint64_t size() const { return bytes_.size(); }
    bool has(uint64_t offset, uint64_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    uint16_t u16(uint64_t offset) const { return loadLittleEndian<uint16_t>(bytes_.data() + offset); }
    uint32_t u32(uint64_t offset) const { return loadLittleEndian<uint32_t>(bytes_.data() + offset); }
    // A zero-terminated string at `offset`, or nothing when it runs off the end.
    std::optional<std::string> cString(uint64_t offset) const {
        std::string text;
        for (uint64_t i = offset; i < bytes_.size(); ++i) {
            if (bytes_[i] == 0) return text;
            text.push_back(static_cast<char>(bytes_[i]));
        }
        return std::nullopt;
    }

private:
    std::span<const uint8_t> bytes_;
};
