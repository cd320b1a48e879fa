#include "files/PackedJars.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(PackedJarsTest, PathsOfTheToolAndItsFiles) {
    const struct {
        std::string home;
        std::string pack;
        std::string tool;
    } cases[] = {
        {"C:\\jre", "C:\\jre\\lib\\rt.jar.pack", "C:\\jre\\bin\\unpack200.exe"},
        {"C:\\jre\\", "C:\\jre\\lib\\rt.jar.pack", "C:\\jre\\bin\\unpack200.exe"},
        {"C:\\Program Files\\App\\jre", "C:\\Program Files\\App\\jre\\lib\\rt.jar.pack",
         "C:\\Program Files\\App\\jre\\bin\\unpack200.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(packPathOf(c.home, "lib\\rt.jar"), c.pack) << c.home;
        EXPECT_EQ(unpackToolPath(c.home), c.tool) << c.home;
    }
}

TEST(PackedJarsTest, TheJarIsThePackWithoutItsSuffixAndNothingElseCounts) {
    const struct {
        std::string pack;
        std::string jar;
    } cases[] = {
        {"C:\\jre\\lib\\rt.jar.pack", "C:\\jre\\lib\\rt.jar"},
        {"C:\\JRE\\LIB\\RT.JAR.PACK", "C:\\JRE\\LIB\\RT.JAR"},
        {"C:\\jre\\lib\\rt.jar", ""},
        {"C:\\jre\\lib\\rt.jar.pack ", ""},
        {".pack", ""},
        {"pack", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(jarPathOfPack(c.pack), c.jar) << c.pack;
}

TEST(PackedJarsTest, BothFilesOfTheToolAreQuoted) {
    EXPECT_EQ(unpackArguments("C:\\My App\\lib\\rt.jar.pack", "C:\\My App\\lib\\rt.jar"),
              "-r \"C:\\My App\\lib\\rt.jar.pack\" \"C:\\My App\\lib\\rt.jar\"");
}

TEST(PackedJarsTest, WhichHomesNeedUnpacking) {
    const std::vector<std::string> everyPack = {
        "lib\\rt.jar.pack",     "lib\\jfxrt.jar.pack", "lib\\charsets.jar.pack", "lib\\plugin.jar.pack",
        "lib\\deploy.jar.pack", "lib\\ext\\localedata.jar.pack", "lib\\jsse.jar.pack"};
    const struct {
        const char* what;
        std::vector<std::string> files;
        bool needed;
    } cases[] = {
        {"every jar packed", everyPack, true},
        {"only rt.jar and jsse.jar packed", {"lib\\rt.jar.pack", "lib\\jsse.jar.pack"}, true},
        {"jsse.jar shipped unpacked beside a packed rt.jar", {"lib\\rt.jar.pack", "lib\\jsse.jar"}, false},
        {"finished", {"lib\\rt.jar", "lib\\jsse.jar"}, false},
        {"no packs and no jsse.jar", {"lib\\rt.jar"}, false},
        {"empty home", {}, false},
        {"cut short after rt.jar", {"lib\\rt.jar", "lib\\charsets.jar.pack", "lib\\jsse.jar.pack"}, true},
        {"cut short while writing jsse.jar", {"lib\\rt.jar", "lib\\jsse.jar", "lib\\jsse.jar.pack"}, true},
        {"only a late pack left", {"lib\\ext\\localedata.jar.pack"}, true},
        {"a pack not of the list", {"lib\\tools.jar.pack"}, false},
    };
    for (const auto& c : cases) {
        std::set<std::string> existing;
        for (const std::string& file : c.files) existing.insert("C:\\jre\\" + file);
        const auto exists = [&existing](const std::string& path) { return existing.count(path) != 0; };
        EXPECT_EQ(needsUnpacking("C:\\jre", exists), c.needed) << c.what;
    }
}

TEST(PackedJarsTest, MutexNamesSeparateHomesAndStayWithinTheLimit) {
    EXPECT_EQ(unpackMutexName("c:\\program files\\app\\jre"), "Local\\zelkor_unpack_c:/program files/app/jre");
    EXPECT_EQ(unpackMutexName("c:\\app\\jre\\\\"), unpackMutexName("c:\\app\\jre"));
    EXPECT_EQ(unpackMutexName("\\\\server\\share\\jre"), "Local\\zelkor_unpack_//server/share/jre");
    // A character that would stand in for the backslash must not make two homes one.
    EXPECT_NE(unpackMutexName("c:\\a_b"), unpackMutexName("c:\\a\\b"));
    EXPECT_NE(unpackMutexName("c:\\a b"), unpackMutexName("c:\\a\\b"));

    const std::string deep = "c:\\" + std::string(300, 'd');
    const struct {
        std::string first;
        std::string second;
    } longPairs[] = {
        {deep + "\\jre", "e" + deep.substr(1) + "\\jre"},  // differ only at the start
        {deep + "\\jre1", deep + "\\jre2"},                // differ only at the end
    };
    for (const auto& pair : longPairs) {
        const std::string first = unpackMutexName(pair.first);
        EXPECT_LE(first.size(), kLongestMutexName);
        EXPECT_EQ(first.find('\\'), std::string("Local").size()) << "only the namespace separator";
        EXPECT_NE(first, unpackMutexName(pair.second));
        EXPECT_EQ(first, unpackMutexName(pair.first + "\\"));
    }
    const std::string fits = "c:\\" + std::string(kLongestMutexName - 23, 'f');
    EXPECT_EQ(unpackMutexName(fits), "Local\\zelkor_unpack_c:/" + fits.substr(3));
}

}  // namespace
