#pragma once

#include "core/ByteSink.h"
#include "core/WinApi.h"

// ByteSink over a Win32 file handle that the caller owns; every write is one
// WriteFile call.
class Win32ByteSink final : public ByteSink {
public:
    explicit Win32ByteSink(HANDLE file) : file_(file) {}

    bool write(const void* buffer, uint32_t size, uint32_t& written) override;
    uint32_t lastError() const override { return lastError_; }

private:
    HANDLE file_;
    uint32_t lastError_ = 0;
};
