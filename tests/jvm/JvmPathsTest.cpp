#include "jvm/JvmPaths.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"

#include <gtest/gtest.h>

namespace {

TEST(JvmPathsTest, DirectoriesAndHomeFollowTheFileName) {
    const struct {
        const char* javaExe;
        const char* directory;
        const char* home;
        const char* jreFallback;
    } cases[] = {
        {"c:\\jdk\\bin\\java.exe", "c:\\jdk\\bin", "c:\\jdk\\bin\\..", "c:\\jdk\\bin\\..\\jre\\bin\\java.exe"},
        {"c:\\jre\\bin\\javaw.exe", "c:\\jre\\bin", "c:\\jre\\bin\\..", "c:\\jre\\bin\\..\\jre\\bin\\java.exe"},
        // Anything else is taken for an eight-character name.
        {"c:\\x\\tool.exe", "c:\\x", "c:\\x\\..", "c:\\x\\..\\jre\\bin\\java.exe"},
        {"java.exe", "", "\\..", "\\..\\jre\\bin\\java.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.javaExe);
        EXPECT_EQ(javaExeDirectory(c.javaExe), c.directory);
        EXPECT_EQ(jvmHomeOf(c.javaExe), c.home);
        EXPECT_EQ(jreFallbackOf(c.javaExe), c.jreFallback);
    }
}

TEST(JvmPathsTest, TheLoaderTriesItsOwnBinThenTheJreBinEachPreferredFirst) {
    using Paths = std::vector<std::string>;
    EXPECT_EQ(jvmLibraryBinDirectories("c:\\jdk\\bin\\javaw.exe"),
              (Paths{"c:\\jdk\\bin", "c:\\jdk\\bin\\..\\jre\\bin"}));
    const Paths fixed = {"b\\hotspot\\jvm.dll", "b\\client\\jvm.dll", "b\\server\\jvm.dll",
                         "b\\classic\\jvm.dll", "b\\jrockit\\jvm.dll"};
    const struct {
        std::string preferred;  // key 152
        std::optional<std::string> first;
    } cases[] = {
        {"", std::nullopt},
        {"server", "b\\server\\jvm.dll"},  // tried again in its place: the loader has always done so
        {std::string(250, 'p'), "b\\" + std::string(199, 'p') + "\\jvm.dll"},  // read into 200 characters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preferred.size());
        storeNarrowValue(config::kPreferredJvmDllDirectory, c.preferred);
        Paths expected = fixed;
        if (c.first) expected.insert(expected.begin(), *c.first);
        EXPECT_EQ(jvmLibraryPaths("b"), expected);
    }
    clearConfigStore();
}

TEST(JvmPathsTest, BinDirectoryIsAppendedOnlyWhenEverythingFits) {
    EXPECT_EQ(pathWithBinDirectory("C:\\windows", "c:\\jre\\bin"), "C:\\windows;c:\\jre\\bin");
    EXPECT_EQ(pathWithBinDirectory("", "c:\\jre\\bin"), ";c:\\jre\\bin");
    const std::string bin(kLongestBinDirectory - 1, 'b');
    EXPECT_TRUE(pathWithBinDirectory("p", bin));
    EXPECT_FALSE(pathWithBinDirectory("p", bin + "b"));
    const std::string longPath(kPathVariableCapacity - 1 - 1 - 3, 'p');
    EXPECT_TRUE(pathWithBinDirectory(longPath, "bin"));
    EXPECT_FALSE(pathWithBinDirectory(longPath + "p", "bin")) << "a PATH that would be cut stays as it is";
}

TEST(JvmPathsTest, FailureMessageFollowsHowTheRuntimeWasFoundAndTheBitness) {
    const struct {
        LocationType type;
        bool sixtyFourBit;
        int32_t key;
        std::optional<std::string> detail;
    } cases[] = {
        {LOCATION_NONE, true, config::kMessageNoJvmOfBitnessFound, "64"},
        {LOCATION_NONE, false, config::kMessageNoJvmOfBitnessFound, "32"},
        {LOCATION_PATH, true, config::kMessageNoJvmOfBitnessFound, "64"},
        {LOCATION_ENVIRONMENT, true, config::kMessageVariableJvmNot64Bit, "where"},
        {LOCATION_ENVIRONMENT, false, config::kMessageVariableJvmNot32Bit, "where"},
        {LOCATION_DIRECTORY, true, config::kMessageJvmAtDamaged64Bit, "where"},
        {LOCATION_DIRECTORY, false, config::kMessageJvmAtDamaged32Bit, "where"},
        {LOCATION_REGISTRY, true, config::kMessageJvmStartFailed, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        const LoadFailureMessage message = loadFailureMessage(c.type, "where", c.sixtyFourBit);
        EXPECT_EQ(message.key, c.key);
        EXPECT_EQ(message.detail, c.detail);
    }
}

}  // namespace
