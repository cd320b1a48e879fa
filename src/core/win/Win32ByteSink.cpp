#include "core/win/Win32ByteSink.h"

#include "core/win/SystemCalls.h"

bool Win32ByteSink::write(const void* buffer, uint32_t size, uint32_t& written) {
    DWORD now = 0;
    const BOOL ok = systemCalls().writeFile(file_, buffer, size, &now, nullptr);
    lastError_ = ::GetLastError();  // saved before anything else can change it
    written = now;
    return ok != FALSE;
}
