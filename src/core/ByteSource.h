#pragma once

#include <cstdint>

// A readable, seekable file as the payload code sees it. The launcher reads its
// own executable through a Win32 file handle; tools and tests read memory.
// Positions are 32-bit: payloads beyond 4 GB are not supported.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Reads up to `size` bytes at the current position. Returns false when the
    // read itself failed; `delivered` receives the bytes actually read.
    virtual bool read(void* buffer, uint32_t size, uint32_t& delivered) = 0;

    // Moves the read position to an absolute offset from the start.
    virtual void seek(uint32_t position) = 0;

    virtual uint32_t position() const = 0;

    // Total size of the underlying file.
    virtual uint64_t size() const = 0;

    // System error code of the last failed operation (0 when unknown).
    virtual uint32_t lastError() const = 0;
};
