#include "core/MemoryByteSource.h"
#include "core/PayloadReader.h"
#include "log/MemoryLog.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class PayloadReaderTest : public ::testing::Test {
protected:
    void SetUp() override { clearMemoryLog(); }
};

TEST_F(PayloadReaderTest, IntegersAreLittleEndianAndSigned) {
    const std::vector<uint8_t> bytes = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F,  // long
                                        0x78, 0x56, 0x34, 0x12,                          // int
                                        0xFF, 0xFF};                                     // short
    MemoryByteSource source(bytes);
    PayloadReader reader(source);
    int64_t asLong = 0;
    int32_t asInt = 0;
    int16_t asShort = 0;
    ASSERT_TRUE(reader.readLong(asLong));
    ASSERT_TRUE(reader.readInt(asInt));
    ASSERT_TRUE(reader.readShort(asShort));
    EXPECT_EQ(asLong, 0x7FFFFFFFFFFFFFFELL);
    EXPECT_EQ(asInt, 0x12345678);
    EXPECT_EQ(asShort, -1);
    EXPECT_EQ(reader.position(), 14u);
    EXPECT_EQ(reader.failure(), nullptr);
}

TEST_F(PayloadReaderTest, ShortReadsFailWithTheirOwnMessageAndLogLine) {
    const std::vector<uint8_t> twoBytes = {1, 2};
    struct Case {
        const char* name;
        bool (*read)(PayloadReader&);
        const char* message;
        const char* logLine;
    };
    const Case cases[] = {
        {"long", [](PayloadReader& r) { int64_t v = 7; return r.readLong(v); }, "Internal Error: readLong", "error 0\n"},
        {"int", [](PayloadReader& r) { int32_t v = 7; return r.readInt(v); }, "Internal Error: readInt", "error 0 2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearMemoryLog();
        MemoryByteSource source(twoBytes);
        PayloadReader reader(source);
        EXPECT_FALSE(c.read(reader));
        ASSERT_NE(reader.failure(), nullptr);
        EXPECT_STREQ(reader.failure(), c.message);
        ASSERT_EQ(memoryLogLines().size(), 1u);
        EXPECT_EQ(memoryLogLines()[0], c.logLine);
    }

    MemoryByteSource oneByte(std::span<const uint8_t>(twoBytes).first(1));
    PayloadReader reader(oneByte);
    int16_t value = 7;
    EXPECT_FALSE(reader.readShort(value));
    EXPECT_EQ(value, 7) << "output must stay untouched on failure";
    EXPECT_STREQ(reader.failure(), "Internal Error: readShort");
}

TEST_F(PayloadReaderTest, FirstFailureIsKept) {
    const std::vector<uint8_t> none;
    MemoryByteSource source(none);
    PayloadReader reader(source);
    int32_t i;
    int64_t l;
    EXPECT_FALSE(reader.readInt(i));
    EXPECT_FALSE(reader.readLong(l));
    EXPECT_STREQ(reader.failure(), "Internal Error: readInt");
}

TEST_F(PayloadReaderTest, StringsAreReadWithTheirByteLength) {
    const std::vector<uint8_t> bytes = {3, 0, 0, 0, 'a', 'b', 'c',         // narrow "abc"
                                        5, 0, 0, 0, 'h', 0, 0xE9, 0, 'x',  // wide: odd length keeps 2 units
                                        0, 0, 0, 0};                       // empty narrow
    MemoryByteSource source(bytes);
    PayloadReader reader(source);
    std::string narrow, empty = "x";
    std::u16string wide;
    ASSERT_TRUE(reader.readString(narrow));
    ASSERT_TRUE(reader.readWString(wide));
    ASSERT_TRUE(reader.readString(empty));
    EXPECT_EQ(narrow, "abc");
    EXPECT_EQ(wide, u"h\u00E9");
    EXPECT_EQ(empty, "");
    EXPECT_EQ(reader.position(), bytes.size());
}

// Records the largest read asked for, to prove that a damaged length is refused
// before the body is read (and so before a buffer of that size exists).
class WatchingSource final : public ByteSource {
public:
    explicit WatchingSource(std::span<const uint8_t> bytes) : inner_(bytes) {}
    bool read(void* buffer, uint32_t size, uint32_t& delivered) override {
        largestRequest = std::max(largestRequest, size);
        return inner_.read(buffer, size, delivered);
    }
    void seek(uint32_t position) override { inner_.seek(position); }
    uint32_t position() const override { return inner_.position(); }
    uint64_t size() const override { return inner_.size(); }
    uint32_t lastError() const override { return 0; }
    uint32_t largestRequest = 0;

private:
    MemoryByteSource inner_;
};

TEST_F(PayloadReaderTest, StringLengthsBeyondTheFileOrNegativeAreRefused) {
    struct Case {
        std::vector<uint8_t> bytes;
        bool wide;
        const char* message;
    };
    const Case cases[] = {
        {{0xFF, 0xFF, 0xFF, 0x7F, 'a'}, false, "Internal Error: readString"},
        {{0xFF, 0xFF, 0xFF, 0x7F, 'a'}, true, "Internal Error: readWString"},
        {{0xFF, 0xFF, 0xFF, 0xFF, 'a'}, false, "Internal Error: readString"},
        {{0xFE, 0xFF, 0xFF, 0xFF}, true, "Internal Error: readWString"},
        {{4, 0, 0, 0, 'a', 'b', 'c'}, false, "Internal Error: readString"},
        {{4, 0, 0, 0, 'a', 'b', 'c'}, true, "Internal Error: readWString"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " length byte 0 = " << int(c.bytes[0]));
        WatchingSource source(c.bytes);
        PayloadReader reader(source);
        std::string narrow = "keep";
        std::u16string wide = u"keep";
        EXPECT_FALSE(c.wide ? reader.readWString(wide) : reader.readString(narrow));
        EXPECT_STREQ(reader.failure(), c.message);
        EXPECT_LE(source.largestRequest, 4u);
        EXPECT_EQ(narrow, "keep");
        EXPECT_EQ(wide, u"keep");
    }
}

TEST_F(PayloadReaderTest, StringLengthFieldCutShortIsAnIntFailure) {
    const std::vector<uint8_t> bytes = {3, 0};
    MemoryByteSource source(bytes);
    PayloadReader reader(source);
    std::string value;
    EXPECT_FALSE(reader.readString(value));
    EXPECT_STREQ(reader.failure(), "Internal Error: readInt");
}

}  // namespace
