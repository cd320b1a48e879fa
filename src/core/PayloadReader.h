#pragma once

#include "core/ByteSource.h"

#include <cstdint>
#include <string>

// The five stream primitives of the payload. Each reads at the current
// position of its source with one read call and counts a short read as a
// failure. A failed primitive logs what the launcher logs, remembers its fixed
// failure message ("Internal Error: readInt", ...) and leaves its output
// untouched; the caller decides how to end (the launcher's fatal routine).
class PayloadReader {
public:
    explicit PayloadReader(ByteSource& source) : source_(source) {}

    bool readLong(int64_t& value);
    bool readInt(int32_t& value);
    bool readShort(int16_t& value);
    bool readString(std::string& value);
    bool readWString(std::u16string& value);

    void seek(uint32_t position) { source_.seek(position); }
    uint32_t position() const { return source_.position(); }

    // Message of the first failure, or nullptr while everything succeeded.
    const char* failure() const { return failure_; }

    // Marks a failure found by a caller (for instance a wrong magic).
    bool fail(const char* message);

private:
    bool readExactly(void* buffer, uint32_t size, uint32_t& delivered);
    bool readLength(int32_t& length, const char* failureMessage);

    ByteSource& source_;
    const char* failure_ = nullptr;
};
