#include "files/StreamCopy.h"

#include "log/MemoryLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kReadError = 23;   // ERROR_CRC
constexpr uint32_t kWriteError = 112;  // ERROR_DISK_FULL
constexpr uint32_t kRunaway = 0xDEAD;  // the copy kept calling a target that takes nothing
constexpr size_t kNever = SIZE_MAX;

// Memory that reads like a file and fails once the read position reaches
// `failFrom`; a read that would cross it stops short there.
class ScriptedSource final : public ByteSource {
public:
    ScriptedSource(const std::vector<uint8_t>& bytes, size_t failFrom) : bytes_(bytes), failFrom_(failFrom) {}

    bool read(void* buffer, uint32_t size, uint32_t& delivered) override {
        ++reads;
        largestRequest = std::max(largestRequest, size);
        delivered = 0;
        if (position_ >= failFrom_) {
            lastError_ = kReadError;
            return false;
        }
        const size_t end = std::min({bytes_.size(), failFrom_, position_ + size});
        if (end > position_) std::copy(bytes_.begin() + position_, bytes_.begin() + end, static_cast<uint8_t*>(buffer));
        delivered = static_cast<uint32_t>(end > position_ ? end - position_ : 0);
        position_ += delivered;
        return true;
    }
    void seek(uint32_t position) override { position_ = position; }
    uint32_t position() const override { return static_cast<uint32_t>(position_); }
    uint64_t size() const override { return bytes_.size(); }
    uint32_t lastError() const override { return lastError_; }

    int reads = 0;
    uint32_t largestRequest = 0;

private:
    const std::vector<uint8_t>& bytes_;
    size_t failFrom_;
    size_t position_ = 0;
    uint32_t lastError_ = 0;
};

// Takes at most accepts[call] bytes per call (the last entry repeats; none:
// everything offered) and fails the call numbered `failingCall`. A copy that
// would spin on it is stopped with kRunaway rather than hanging the test.
class ScriptedSink final : public ByteSink {
public:
    ScriptedSink(std::vector<uint32_t> accepts, size_t failingCall)
        : accepts_(std::move(accepts)), failingCall_(failingCall) {}

    bool write(const void* buffer, uint32_t size, uint32_t& written) override {
        const size_t call = calls_++;
        written = 0;
        if (call == failingCall_ || call > 100000) {
            lastError_ = call == failingCall_ ? kWriteError : kRunaway;
            return false;
        }
        written = accepts_.empty() ? size : std::min(size, accepts_[std::min(call, accepts_.size() - 1)]);
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        data.insert(data.end(), bytes, bytes + written);
        return true;
    }
    uint32_t lastError() const override { return lastError_; }

    std::vector<uint8_t> data;

private:
    std::vector<uint32_t> accepts_;
    size_t failingCall_;
    size_t calls_ = 0;
    uint32_t lastError_ = 0;
};

TEST(StreamCopyTest, CopiesMasksAndReportsHowItStopped) {
    const struct {
        const char* name;
        size_t sourceSize;
        size_t readFailsFrom;
        int64_t count;
        bool unscramble;
        std::vector<uint32_t> accepts;
        size_t failingWrite;
        int result;
        size_t written;
        const char* logLine;  // the error logged, if any
    } cases[] = {
        {"exact copy", 20000, kNever, 20000, false, {}, kNever, 0, 20000, nullptr},
        {"unscrambled copy", 20000, kNever, 20000, true, {}, kNever, 0, 20000, nullptr},
        {"prefix of a longer source", 20000, kNever, 300, true, {}, kNever, 0, 300, nullptr},
        {"nothing to copy", 100, kNever, 0, true, {}, kNever, 0, 0, nullptr},
        {"one under a chunk", 9000, kNever, 8191, true, {}, kNever, 0, 8191, nullptr},
        {"exactly a chunk", 9000, kNever, 8192, true, {}, kNever, 0, 8192, nullptr},
        {"one over a chunk", 9000, kNever, 8193, true, {}, kNever, 0, 8193, nullptr},
        {"count beyond the source", 100, kNever, 150, true, {}, kNever, 1, 100, "ERROR: ReadFile failed 0 0 100"},
        {"read fails mid-way", 20000, 10000, 20000, true, {}, kNever, 1, 10000, "ERROR: ReadFile failed 0 23 10000"},
        {"partial writes", 20000, kNever, 20000, true, {1000}, kNever, 0, 20000, nullptr},
        {"one byte per write", 300, kNever, 300, false, {1}, kNever, 0, 300, nullptr},
        {"write fails", 20000, kNever, 20000, true, {}, 1, 2, 8192, "ERROR: WriteFile failed 8192 112"},
        {"write fails after a partial write", 20000, kNever, 20000, true, {5000}, 1, 2, 5000,
         "ERROR: WriteFile failed 3192 112"},
        {"target takes nothing", 100, kNever, 100, true, {0}, kNever, 2, 0, "ERROR: WriteFile failed 100 0"},
        {"target stops taking bytes", 20000, kNever, 20000, true, {5000, 0}, kNever, 2, 5000,
         "ERROR: WriteFile failed 3192 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes(c.sourceSize);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
        ScriptedSource source(bytes, c.readFailsFrom);
        ScriptedSink sink(c.accepts, c.failingWrite);
        clearMemoryLog();

        EXPECT_EQ(copyStream(source, sink, c.count, c.unscramble), c.result);

        ASSERT_EQ(sink.data.size(), c.written);
        for (size_t i = 0; i < c.written; ++i)
            ASSERT_EQ(sink.data[i], c.unscramble ? bytes[i] ^ 0x5C : bytes[i]) << "byte " << i;
        EXPECT_LE(source.largestRequest, 8192u);
        EXPECT_EQ(source.reads > 0, c.count > 0);
        if (c.logLine) {
            EXPECT_EQ(memoryLogLines(), std::vector<std::string>{c.logLine});
        } else {
            EXPECT_TRUE(memoryLogLines().empty());
        }
    }
}

}  // namespace
