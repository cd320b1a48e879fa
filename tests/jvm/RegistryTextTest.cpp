#include "jvm/RegistryText.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_view_literals;

TEST(RegistryTextTest, ValuesReadAsTextOnlyWithinTheirLengthAndTheBuffer) {
    constexpr uint32_t kBinary = 3, kNumber = 4, kTextList = 7;
    const struct {
        const char* label;
        uint32_t type;
        std::string_view data;
        size_t capacity;
        std::optional<std::string> text;
    } cases[] = {
        {"with terminator", kRegistryText, "1.8\0"sv, 100, "1.8"},
        {"without terminator", kRegistryText, "1.8"sv, 100, "1.8"},
        {"ends at the first zero", kRegistryText, "1.8\0garbage"sv, 100, "1.8"},
        {"expandable text as stored", kRegistryExpandableText, "%JAVA%\\jre\0"sv, 100, "%JAVA%\\jre"},
        {"empty data", kRegistryText, ""sv, 100, ""},
        {"only a terminator", kRegistryText, "\0"sv, 100, ""},
        {"binary", kBinary, "C:\\jdk\0"sv, 100, std::nullopt},
        {"number", kNumber, "\x08\0\0\0"sv, 100, std::nullopt},
        {"text list", kTextList, "1.8\0\0"sv, 100, std::nullopt},
        // The caller's buffer must hold the text and its terminator.
        {"fills the buffer with its terminator", kRegistryText, "abc\0"sv, 4, "abc"},
        {"fills the buffer without room for one", kRegistryText, "abcd"sv, 4, std::nullopt},
        {"more data than the buffer", kRegistryText, "ab\0\0\0"sv, 4, std::nullopt},
        {"no buffer", kRegistryText, ""sv, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(registryValueText(c.type, c.data, c.capacity), c.text);
    }
}

}  // namespace
