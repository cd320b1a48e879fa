#include "ByteSize.h"

#include <gtest/gtest.h>

using namespace generator;

namespace {

TEST(ByteSize, ReadsWholeNumbersWithAnOptionalBinaryUnitOnly) {
    const std::pair<const char*, int64_t> sizes[] = {{"1048576", 1048576}, {"500 KB", 512000}, {"10 MB", 10485760},
                                                     {"3gb", int64_t{3} << 30}, {" 7\tB ", 7},
                                                     {"8589934591 GB", int64_t{8589934591} << 30}};
    for (const auto& [text, bytes] : sizes) EXPECT_EQ(parseByteSize(text), bytes) << text;
    for (const char* text : {"", "MB", "1.5 GB", "-1 KB", "+1", "10 XB", "10 M B", "10 KiB", "0x10", "8589934592 GB"})
        EXPECT_EQ(parseByteSize(text), std::nullopt) << text;
}

TEST(ByteSize, WritesTheLargestUnitThatDividesAndReadsBackTheSame) {
    const std::pair<int64_t, const char*> cases[] = {
        {1000, "1000"}, {1536, "1536"}, {3072, "3 KB"}, {10485760, "10 MB"}, {(int64_t{1} << 30) + 1024, "1048577 KB"}};
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(byteSizeText(bytes), text);
        EXPECT_EQ(parseByteSize(text), bytes) << text;
    }
}

}  // namespace
