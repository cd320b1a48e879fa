#include "core/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Usable where the payload layout is computed at compile time.
static_assert(loadLittleEndian<uint32_t>(std::array<uint8_t, 4>{0x78, 0x56, 0x34, 0x12}.data()) == 0x12345678u);

TEST(LittleEndianTest, LowByteFirstAndSignFromTheHighByte) {
    const uint8_t bytes[8] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88};
    EXPECT_EQ(loadLittleEndian<uint16_t>(bytes), 0x0201u);
    EXPECT_EQ(loadLittleEndian<uint32_t>(bytes + 4), 0x88070605u);
    EXPECT_EQ(loadLittleEndian<int32_t>(bytes + 4), static_cast<int32_t>(0x88070605u));
    EXPECT_EQ(loadLittleEndian<uint64_t>(bytes), 0x8807060504030201ull);
    EXPECT_LT(loadLittleEndian<int64_t>(bytes), 0);
    EXPECT_EQ(loadLittleEndian<int16_t>(bytes + 6), static_cast<int16_t>(0x8807));
    EXPECT_EQ(loadLittleEndian<char16_t>(bytes + 6), u'\x8807');
}

TEST(LittleEndianTest, StoredValuesReadBackAndTouchOnlyTheirWidth) {
    const int64_t values[] = {0, 1, -1, 0x7FFFFFFF, -2147483647 - 1, 0x0123456789ABCDEFll, INT64_MIN};
    for (int64_t value : values) {
        SCOPED_TRACE(value);
        std::array<uint8_t, 10> bytes;
        bytes.fill(0xEE);
        storeLittleEndian(bytes.data() + 1, static_cast<int16_t>(value));
        EXPECT_EQ(loadLittleEndian<int16_t>(bytes.data() + 1), static_cast<int16_t>(value));
        EXPECT_EQ(bytes[3], 0xEE);
        storeLittleEndian(bytes.data() + 1, static_cast<int32_t>(value));
        EXPECT_EQ(loadLittleEndian<int32_t>(bytes.data() + 1), static_cast<int32_t>(value));
        EXPECT_EQ(bytes[5], 0xEE);
        storeLittleEndian(bytes.data() + 1, value);
        EXPECT_EQ(loadLittleEndian<int64_t>(bytes.data() + 1), value);
        EXPECT_EQ(bytes[1], static_cast<uint8_t>(value));
        EXPECT_EQ(bytes[8], static_cast<uint8_t>(static_cast<uint64_t>(value) >> 56));
        EXPECT_EQ(bytes[0], 0xEE);
        EXPECT_EQ(bytes[9], 0xEE);
    }
}

}  // namespace
