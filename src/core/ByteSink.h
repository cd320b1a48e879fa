#pragma once

#include <cstdint>

// A writable file as the extraction code sees it. The launcher writes through
// a Win32 file handle; tests and fuzzers write to memory.
class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Writes up to `size` bytes at the current position. Returns false when the
    // write itself failed; `written` receives the bytes actually taken, which
    // may be fewer than offered.
    virtual bool write(const void* buffer, uint32_t size, uint32_t& written) = 0;

    // System error code of the last failed operation (0 when unknown).
    virtual uint32_t lastError() const = 0;
};
