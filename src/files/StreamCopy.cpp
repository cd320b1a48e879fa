#include "files/StreamCopy.h"

#include "core/PayloadMask.h"
#include "log/Log.h"

#include <algorithm>

int copyStream(ByteSource& source, ByteSink& target, int64_t count, bool unscramble) {
    constexpr uint32_t kChunk = 8192;
    uint8_t buffer[kChunk];
    int64_t copied = 0;
    uint32_t delivered = 0;
    uint32_t readError = 0;
    while (copied < count) {
        const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(count - copied, kChunk));
        delivered = 0;
        const bool readOk = source.read(buffer, want, delivered);
        readError = source.lastError();
        if (!readOk || delivered == 0) break;
        if (unscramble) applyEmbeddedFileMask(buffer, delivered);
        for (uint32_t written = 0; written < delivered;) {
            uint32_t now = 0;
            // A target that reports success but takes nothing would be offered
            // the same bytes forever: that is a failed write as well.
            if (!target.write(buffer + written, delivered - written, now) || now == 0) {
                logError("WriteFile failed %d %d", static_cast<int>(delivered - written),
                         static_cast<int>(target.lastError()));
                return 2;
            }
            written += std::min(now, delivered - written);
        }
        copied += delivered;
    }
    if (copied == count) return 0;
    logError("ReadFile failed %d %d " LAUNCHER_LOG_INT64, static_cast<int>(delivered), static_cast<int>(readError),
             static_cast<long long>(copied));
    return 1;
}
