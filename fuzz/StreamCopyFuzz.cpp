// Extraction copies whatever an embedded file holds into a target that may
// take fewer bytes than offered, stop taking them or fail. Whatever happens,
// the copy must end, write exactly a (masked) prefix of the source and say
// truthfully why it stopped.
//
// Input: flags (bit 0: unscramble), source length (2 bytes), count (2 bytes),
// pattern length (1 byte, up to 7) and that many 2-byte entries for the sink's
// successive calls (0xFFFF: the call fails, otherwise the most it takes; the
// pattern repeats), then the bytes the source repeats.
#include "core/LittleEndian.h"
#include "core/MemoryByteSource.h"
#include "log/MemoryLog.h"
#include "files/StreamCopy.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr uint16_t kFailingCall = 0xFFFF;

class PatternSink final : public ByteSink {
public:
    explicit PatternSink(std::vector<uint16_t> pattern) : pattern_(std::move(pattern)) {}

    bool write(const void* buffer, uint32_t size, uint32_t& written) override {
        if (refused) ++callsAfterRefusal;
        written = size;
        if (!pattern_.empty()) {
            const uint16_t step = pattern_[calls_++ % pattern_.size()];
            if (step == kFailingCall) {
                refused = true;
                written = 0;
                return false;
            }
            written = std::min<uint32_t>(size, step);
        }
        if (written == 0) refused = true;
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        data.insert(data.end(), bytes, bytes + written);
        return true;
    }
    uint32_t lastError() const override { return refused ? 112 : 0; }

    std::vector<uint8_t> data;
    bool refused = false;
    int callsAfterRefusal = 0;

private:
    std::vector<uint16_t> pattern_;
    size_t calls_ = 0;
};

bool lastLogLineStartsWith(const char* start) {
    const std::vector<std::string>& lines = memoryLogLines();
    return !lines.empty() && lines.back().rfind(start, 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kHeader = 6;
    if (size < kHeader) return 0;
    const bool unscramble = (data[0] & 1) != 0;
    const size_t sourceLength = loadLittleEndian<uint16_t>(data + 1);
    const int64_t count = loadLittleEndian<uint16_t>(data + 3);
    const size_t patternLength = data[5] % 8;
    if (size < kHeader + 2 * patternLength) return 0;
    std::vector<uint16_t> pattern(patternLength);
    for (size_t i = 0; i < patternLength; ++i) pattern[i] = loadLittleEndian<uint16_t>(data + kHeader + 2 * i);
    const uint8_t* fill = data + kHeader + 2 * patternLength;
    const size_t fillLength = size - kHeader - 2 * patternLength;

    std::vector<uint8_t> source(sourceLength);
    for (size_t i = 0; i < sourceLength; ++i)
        source[i] = fillLength > 0 ? fill[i % fillLength] : static_cast<uint8_t>(i * 31);

    clearMemoryLog();
    MemoryByteSource reader(source);
    PatternSink sink(pattern);
    const int result = copyStream(reader, sink, count, unscramble);

    // Exactly a prefix of the source, masked as asked, and never more than asked for.
    const size_t available = std::min<size_t>(static_cast<size_t>(count), sourceLength);
    if (sink.data.size() > available) std::abort();
    for (size_t i = 0; i < sink.data.size(); ++i)
        if (sink.data[i] != (unscramble ? source[i] ^ 0x5C : source[i])) std::abort();
    // Once the target has refused, nothing more is offered to it.
    if (sink.callsAfterRefusal != 0) std::abort();

    switch (result) {
    case 0:
        if (sink.refused || sink.data.size() != static_cast<size_t>(count) || !memoryLogLines().empty()) std::abort();
        break;
    case 1:
        // The memory source only ends; it never fails. Everything it held was written.
        if (sink.refused || static_cast<size_t>(count) <= sourceLength || sink.data.size() != sourceLength ||
            !lastLogLineStartsWith("ERROR: ReadFile failed "))
            std::abort();
        break;
    case 2:
        if (!sink.refused || sink.data.size() >= available || !lastLogLineStartsWith("ERROR: WriteFile failed "))
            std::abort();
        break;
    default:
        std::abort();
    }
    return 0;
}
