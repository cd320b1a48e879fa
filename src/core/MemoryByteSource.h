#pragma once

#include "core/ByteSource.h"

#include <cstdint>
#include <span>

// ByteSource over a block of memory that outlives it.
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool read(void* buffer, uint32_t size, uint32_t& delivered) override;
    void seek(uint32_t position) override { position_ = position; }
    uint32_t position() const override { return position_; }
    uint64_t size() const override { return bytes_.size(); }
    uint32_t lastError() const override { return 0; }

private:
    std::span<const uint8_t> bytes_;
    uint32_t position_ = 0;
};
