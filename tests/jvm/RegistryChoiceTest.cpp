#include "jvm/RegistryChoice.h"

#include "core/BufferCapacity.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

TEST(RegistryChoiceTest, VersionNamesWithinTheLimitsAreTriedNewestFirst) {
    const struct {
        const char* label;
        Names names;
        const char* min;
        const char* max;
        Names tried;
    } cases[] = {
        // Byte order would have tried 1.8.0_45 before 1.8.0_121.
        {"numbers, not bytes", {"1.8", "1.8.0_121", "1.8.0_45"}, "", "", {"1.8.0_121", "1.8.0_45", "1.8"}},
        {"two-digit majors", {"9.0.4", "11.0.2", "1.8.0_202", "17"}, "", "", {"17", "11.0.2", "9.0.4", "1.8.0_202"}},
        {"names outside the limits dropped", {"1.7", "1.8", "11", "1.6.0_45"}, "1.8", "1.8", {"1.8"}},
        // The pre-filter compares only as far as the shorter text reaches.
        {"short name passes a long minimum", {"1.8", "1.7.0_80"}, "1.8.0_20", "", {"1.8"}},
        {"equal numbers fall back to the text", {"1.8", "1.8.0", "1.8.0.0"}, "", "", {"1.8.0.0", "1.8.0", "1.8"}},
        {"nothing left", {"1.5", "1.4"}, "1.6", "", {}},
        {"empty list", {}, "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(versionNamesGreatestFirst(c.names, c.min, c.max), c.tried);
    }
}

TEST(RegistryChoiceTest, CurrentVersionSelectsTheJdkOnlyWhenItIsNewer) {
    using F = JavaSoftFamily;
    const struct {
        const char* jdk;
        const char* jre;
        std::optional<F> family;
        const char* name;
    } cases[] = {
        {"1.8", "1.8", F::RuntimeEnvironment, "1.8"},
        {"1.8", "1.7", F::DevelopmentKit, "1.8"},
        {"1.7", "1.8", F::RuntimeEnvironment, "1.8"},
        {"11", "1.8", F::DevelopmentKit, "11"},  // byte order would have chosen the JRE
        {"1.8", "", F::DevelopmentKit, "1.8"},
        {"", "1.8", F::RuntimeEnvironment, "1.8"},
        // No name at all (both unreadable, out of range, or the JRE skipped
        // for a required JDK): no runtime key is read.
        {"", "", std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("jdk ") + c.jdk + ", jre " + c.jre);
        const std::optional<CurrentVersionChoice> choice = chooseCurrentVersion(c.jdk, c.jre);
        ASSERT_EQ(choice.has_value(), c.family.has_value());
        if (!choice) continue;
        EXPECT_EQ(choice->family, *c.family);
        EXPECT_EQ(choice->name, c.name);
    }
}

TEST(RegistryChoiceTest, AKeptRuntimeIsReplacedOnlyByANewerOne) {
    const struct {
        const char* label;
        std::vector<FoundRuntime> offered;
        const char* kept;
    } cases[] = {
        {"first offered", {{"a", "1.8.0_45"}}, "a"},
        {"newer replaces", {{"a", "1.8.0_45"}, {"b", "1.8.0_121"}}, "b"},
        {"older does not", {{"a", "11.0.2"}, {"b", "9.0.4"}}, "a"},
        {"equal keeps the first", {{"a", "1.8.0_202"}, {"b", "1.8.0_202"}}, "a"},
        {"newest of several", {{"a", "1.7"}, {"b", "17"}, {"c", "11"}, {"d", "17"}}, "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::optional<FoundRuntime> best;
        for (const FoundRuntime& runtime : c.offered) takeIfNewer(best, runtime);
        ASSERT_TRUE(best);
        EXPECT_EQ(best->path, c.kept);
    }
}

TEST(RegistryChoiceTest, LocatedKeyNamesBecomeJavaExePaths) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"c:/program files/java/jre8/bin/java.exe", "c:\\program files\\java\\jre8\\bin\\java.exe"},
        {"//server/share/jdk/bin/java.exe", "\\\\server\\share\\jdk\\bin\\java.exe"},
        {"no separators", "no separators"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(locatedJavaExePath(c.name), c.path) << c.name;
}

TEST(RegistryChoiceTest, InstallationListsNameTheirJreFoldersInOrder) {
    const std::string longest(kBufferCapacity - 1 - 4, 'd');
    const struct {
        const char* label;
        std::string list;
        Names homes;
    } cases[] = {
        {"two directories", "C:\\App 2\\;D:\\App", {"C:\\App 2\\\\jre", "D:\\App\\jre"}},
        {"empty items dropped", ";;C:\\a;;", {"C:\\a\\jre"}},
        {"only separators", ";;;", {}},
        {"nothing", "", {}},
        {"longest that fits", longest, {longest + "\\jre"}},
        {"one too long is left out", longest + "x;C:\\b", {"C:\\b\\jre"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(previousInstallationHomes(c.list), c.homes);
    }
}

}  // namespace
