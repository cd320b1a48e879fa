#include "core/PayloadMask.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every length and start offset around the word size, against the byte rule.
TEST(PayloadMaskTest, EveryByteIsXoredWithTheMaskWhateverLengthAndAlignment) {
    std::vector<uint8_t> original(40);
    for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 37 + 1);
    for (size_t offset = 0; offset < 8; ++offset) {
        for (size_t length = 0; length + offset <= original.size(); ++length) {
            std::vector<uint8_t> bytes = original;
            applyEmbeddedFileMask(bytes.data() + offset, length);
            for (size_t i = 0; i < bytes.size(); ++i) {
                const bool inside = i >= offset && i < offset + length;
                ASSERT_EQ(bytes[i], inside ? original[i] ^ 0x5C : original[i]) << offset << "/" << length << "/" << i;
            }
            applyEmbeddedFileMask(bytes.data() + offset, length);
            ASSERT_EQ(bytes, original);
        }
    }
}

}  // namespace
