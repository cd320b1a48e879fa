#pragma once

#include "core/ByteSource.h"
#include "core/WinApi.h"

// ByteSource over a Win32 file handle that the caller owns. Every seek is a
// SetFilePointer from the file start; every read is one ReadFile call.
class Win32ByteSource final : public ByteSource {
public:
    explicit Win32ByteSource(HANDLE file) : file_(file) {}

    bool read(void* buffer, uint32_t size, uint32_t& delivered) override;
    void seek(uint32_t position) override;
    uint32_t position() const override;
    uint64_t size() const override;
    uint32_t lastError() const override { return lastError_; }

private:
    HANDLE file_;
    uint32_t lastError_ = 0;
};
