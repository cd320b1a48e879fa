#include "jvm/VersionRules.h"

#include "log/MemoryLog.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionRulesTest, BannerLinesGiveTheTextBetweenTheQuotes) {
    const struct {
        const char* line;
        std::optional<std::string> version;
    } cases[] = {
        {"java version \"1.8.0_202\"\n", "1.8.0_202"},
        {"openjdk version \"11.0.2\"\n", "11.0.2"},
        // Java 10 and later add a date, and some builds more after it.
        {"openjdk version \"17.0.9\" 2023-10-17\n", "17.0.9"},
        {"openjdk version \"21\" 2023-09-19 LTS\n", "21"},
        {"java version \"22-ea\" 2024-03-19\n", "22-ea"},
        {"java version \"9\"\n", "9"},
        {"java version \"9\"", "9"},
        {"java version \"\"\n", std::nullopt},
        {"java version \"\" 2023-10-17\n", std::nullopt},
        // Without a closing quote the line is cut by position, as it always was.
        {"java version \"1.8.0_202\n", "1.8.0_20"},
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

TEST(VersionRulesTest, CachedVersionsEndAtTheirFirstQuote) {
    const struct {
        const char* stored;
        const char* version;
    } cases[] = {
        {"17.0.9\" 2023-10-1", "17.0.9"}, {"1.8.0_202", "1.8.0_202"}, {"\" 2023-10-1", ""},
        {"11\"\"", "11"},                {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(cachedVersionText(c.stored), c.version) << c.stored;
}

TEST(VersionRulesTest, LimitsCompareAsManyNumbersAsTheyHave) {
    using enum VersionFit;
    const struct {
        const char* version;
        const char* min;
        const char* max;
        bool prereleaseAllowed;
        VersionFit fit;
    } cases[] = {
        {"1.6.0_45", "1.6", "", false, Accepted},
        {"1.10", "1.6", "", false, Accepted},  // byte order would have put it below 1.6
        {"10.0.1", "1.6", "", false, Accepted},
        {"1.5.0_22", "1.6", "", false, BelowMinimum},
        {"9.0.4", "11", "", false, BelowMinimum},  // byte order would have accepted it
        {"11.0.2", "11", "", false, Accepted},
        {"1.8.0_202", "", "1.8", false, Accepted},
        {"9", "", "1.8", false, AboveMaximum},
        {"17.0.2", "", "9", false, AboveMaximum},  // byte order would have accepted it
        {"1.8.0_121", "1.8.0_45", "", false, Accepted},
        {"1.8.0_45", "1.8.0_121", "", false, BelowMinimum},
        {"17.0.9", "17", "17", false, Accepted},
        {"anything", "", "", false, Accepted},
        // Pre-releases, found as substrings: "release" counts as well.
        {"1.9.0-ea", "1.6", "", false, Prerelease},
        {"1.9.0-ea", "1.6", "", true, Accepted},
        {"1.8.0-release", "", "", false, Prerelease},
        {"11-beta", "", "", false, Prerelease},
        {"11-rc1", "", "", false, Prerelease},
        {"11-RC1", "", "", false, Accepted},
        // The first reason that refuses wins.
        {"1.5.0-ea", "1.6", "", false, Prerelease},
        {"1.5.0-ea", "1.6", "", true, BelowMinimum},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " in [" + c.min + ", " + c.max + "]");
        EXPECT_EQ(versionFit(c.version, c.min, c.max, c.prereleaseAllowed), c.fit);
        EXPECT_EQ(acceptVersion(c.version, c.min, c.max, c.prereleaseAllowed), c.fit == Accepted);
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
