#include "files/StreamCopy.h"

#include "core/PayloadMask.h"
#include "diag/Log.h"

#include <algorithm>

int copyStream(HANDLE source, HANDLE target, int64_t count, bool unscramble) {
    constexpr DWORD kChunk = 8192;
    uint8_t buffer[kChunk];
    int64_t copied = 0;
    DWORD delivered = 0;
    DWORD readError = 0;
    while (copied < count) {
        const DWORD want = static_cast<DWORD>(std::min<int64_t>(count - copied, kChunk));
        delivered = 0;
        const BOOL readOk = ::ReadFile(source, buffer, want, &delivered, nullptr);
        readError = ::GetLastError();
        if (!readOk || delivered == 0) break;
        if (unscramble) applyEmbeddedFileMask(buffer, delivered);
        for (DWORD written = 0; written < delivered;) {
            DWORD now = 0;
            if (!::WriteFile(target, buffer + written, delivered - written, &now, nullptr)) {
                const DWORD writeError = ::GetLastError();
                logError("WriteFile failed %d %d", static_cast<int>(delivered - written), static_cast<int>(writeError));
                return 2;
            }
            written += now;
        }
        copied += delivered;
    }
    if (copied == count) return 0;
    logError("ReadFile failed %d %d %I64d", static_cast<int>(delivered), static_cast<int>(readError), copied);
    return 1;
}
