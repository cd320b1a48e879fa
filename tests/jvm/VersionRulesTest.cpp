#include "jvm/VersionRules.h"

#include "log/MemoryLog.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionRulesTest, BannerLinesGiveTheirVersionCutByPosition) {
    const struct {
        const char* line;
        std::optional<std::string> version;
    } cases[] = {
        {"java version \"1.8.0_202\"\n", "1.8.0_202"},
        {"openjdk version \"11.0.2\"\n", "11.0.2"},
        // Newer runtimes add a date: the cut keeps the quote and drops only the last character.
        {"openjdk version \"17.0.9\" 2023-10-17\n", "17.0.9\" 2023-10-1"},
        {"java version \"9\"\n", "9"},
        {"java version \"9\"", std::nullopt},
        {"java version \"x", std::nullopt},
        {"java version \"", std::nullopt},
        {"Picked up _JAVA_OPTIONS: -Xmx1g\n", std::nullopt},
        {"Java version \"1.8.0\"\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(versionFromBannerLine(c.line), c.version);
    }
}

TEST(VersionRulesTest, LimitsCompareAsManyNumbersAsTheyHave) {
    const struct {
        const char* version;
        const char* min;
        const char* max;
        bool prereleaseAllowed;
        bool accepted;
    } cases[] = {
        {"1.6.0_45", "1.6", "", false, true},
        {"1.10", "1.6", "", false, true},  // byte order would have put it below 1.6
        {"10.0.1", "1.6", "", false, true},
        {"1.5.0_22", "1.6", "", false, false},
        {"9.0.4", "11", "", false, false},  // byte order would have accepted it
        {"11.0.2", "11", "", false, true},
        {"1.8.0_202", "", "1.8", false, true},
        {"9", "", "1.8", false, false},
        {"17.0.2", "", "9", false, false},  // byte order would have accepted it
        {"1.8.0_121", "1.8.0_45", "", false, true},
        {"1.8.0_45", "1.8.0_121", "", false, false},
        {"17.0.9\" 2023-10-1", "17", "17", false, true},
        {"anything", "", "", false, true},
        // Pre-releases, found as substrings: "release" counts as well.
        {"1.9.0-ea", "1.6", "", false, false},
        {"1.9.0-ea", "1.6", "", true, true},
        {"1.8.0-release", "", "", false, false},
        {"11-beta", "", "", false, false},
        {"11-rc1", "", "", false, false},
        {"11-RC1", "", "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " in [" + c.min + ", " + c.max + "]");
        EXPECT_EQ(acceptVersion(c.version, c.min, c.max, c.prereleaseAllowed), c.accepted);
    }
    clearMemoryLog();
    acceptVersion("1.9.0-ea", "", "", false);
    EXPECT_EQ(memoryLogLines(), std::vector<std::string>{"beta vm not allowed"});
}

TEST(VersionRulesTest, RegistryNamesPassWhenTheyCouldStillFit) {
    const struct {
        const char* name;
        const char* min;
        const char* max;
        bool inRange;
    } cases[] = {
        {"1.8", "1.8.0_20", "", true}, {"1.7", "1.8.0_20", "", false}, {"11", "1.8", "", true},
        {"9", "11", "", false},        {"1.8", "", "1.8.0_20", true},  {"17", "", "11", false},
        {"1.8.0_301", "", "1.8", true}, {"", "1.6", "1.8", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in [" + c.min + ", " + c.max + "]");
        EXPECT_EQ(versionInRange(c.name, c.min, c.max), c.inRange);
    }
}

TEST(VersionRulesTest, NewerVersionsOrderAfterOlderOnes) {
    const char* ascending[] = {"1.6.0_45", "1.8", "1.8.0", "1.8.0_45", "1.8.0_121", "9.0.4", "11", "11.0.2", "17.0.2"};
    for (size_t i = 0; i < std::size(ascending); ++i) {
        EXPECT_EQ(compareVersions(ascending[i], ascending[i]), 0) << ascending[i];
        for (size_t j = i + 1; j < std::size(ascending); ++j) {
            EXPECT_LT(compareVersions(ascending[i], ascending[j]), 0) << ascending[i] << " < " << ascending[j];
            EXPECT_GT(compareVersions(ascending[j], ascending[i]), 0) << ascending[j] << " > " << ascending[i];
        }
    }
}

}  // namespace
