#include "core/win/Win32ByteSource.h"

#include "core/win/SystemCalls.h"

bool Win32ByteSource::read(void* buffer, uint32_t size, uint32_t& delivered) {
    DWORD got = 0;
    const BOOL ok = systemCalls().readFile(file_, buffer, size, &got, nullptr);
    lastError_ = ::GetLastError();  // saved before anything else can change it
    delivered = got;
    return ok != FALSE;
}

void Win32ByteSource::seek(uint32_t position) {
    // Positions are 32-bit: the high part is not used.
    ::SetFilePointer(file_, static_cast<LONG>(position), nullptr, FILE_BEGIN);
}

uint32_t Win32ByteSource::position() const {
    return ::SetFilePointer(file_, 0, nullptr, FILE_CURRENT);
}

uint64_t Win32ByteSource::size() const {
    LARGE_INTEGER size;
    return ::GetFileSizeEx(file_, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}
