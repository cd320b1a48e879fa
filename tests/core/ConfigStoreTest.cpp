#include "core/ConfigStore.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

class ConfigStoreTest : public ::testing::Test {
protected:
    void SetUp() override { clearConfigStore(); }
    void TearDown() override { clearConfigStore(); }
};

TEST_F(ConfigStoreTest, AbsentKeysReadAsEmptyAndZero) {
    char narrow[8] = "junk";
    char16_t wide[8] = u"junk";
    configString(101, narrow, sizeof narrow);
    configWideString(20017, wide, 8);
    EXPECT_STREQ(narrow, "");
    EXPECT_EQ(std::u16string(wide), u"");
    EXPECT_EQ(configInt(107), 0);
    EXPECT_FALSE(hasConfigString(101));
}

TEST_F(ConfigStoreTest, ValuesAreCutToTheCapacityGiven) {
    storeNarrowValue(152, "abcdef");
    storeWideValue(20017, u"uvwxyz");
    char narrow[4] = {'X', 'X', 'X', 'X'};
    configString(152, narrow, sizeof narrow);
    EXPECT_STREQ(narrow, "abc");
    char16_t wide[3];
    configWideString(20017, wide, 3);
    EXPECT_EQ(std::u16string(wide), u"uv");

    char untouched[2] = {'Q', 'Q'};
    configString(152, untouched, 0);
    EXPECT_EQ(untouched[0], 'Q') << "capacity 0 must write nothing";
    char one[1] = {'Q'};
    configString(152, one, 1);
    EXPECT_EQ(one[0], '\0');
}

TEST_F(ConfigStoreTest, LaterValueOfAKeyReplacesTheEarlier) {
    storeNarrowValue(122, "first");
    storeNarrowValue(122, "second");
    char buffer[16];
    configString(122, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "second");
}

TEST_F(ConfigStoreTest, AZeroByteEndsTheValue) {
    storeNarrowValue(101, std::string("ab\0cd", 5));
    char buffer[16];
    configString(101, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "ab");
}

TEST_F(ConfigStoreTest, IntegersFollowStrtolWithSaturation) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"20", 20},       {" 8", 8},           {"0,0,0", 0},          {"", 0},
        {"-5", -5},       {"+7", 7},           {"\t\n12abc", 12},     {"- 3", 0},
        {"abc", 0},       {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN}, {"007", 7},  {"1 2", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseConfigInt(c.text), c.expected);
        storeNarrowValue(154, c.text);
        EXPECT_EQ(configInt(154), c.expected);
    }
}

}  // namespace
