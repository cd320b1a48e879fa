#include "core/PathText.h"

#include <gtest/gtest.h>

namespace {

TEST(PathTextTest, BackslashRunsCollapseExceptALeadingPair) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:\\\\dir\\\\\\app.exe", "C:\\dir\\app.exe"},
        {"\\\\server\\\\share\\a.exe", "\\\\server\\share\\a.exe"},
        {"\\\\\\server", "\\\\server"},
        {"a", "a"},
        {"", ""},
        {"C:/x//y", "C:/x//y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        std::string narrow = c.in;
        collapseBackslashRuns(narrow);
        EXPECT_EQ(narrow, c.out);
        std::u16string wide(narrow.begin(), narrow.end());
        std::u16string original(std::string_view(c.in).begin(), std::string_view(c.in).end());
        collapseBackslashRuns(original);
        EXPECT_EQ(original, wide);
    }
}

TEST(PathTextTest, ExeExtensionIgnoresCase) {
    EXPECT_TRUE(hasExeExtension("C:\\a\\app.exe"));
    EXPECT_TRUE(hasExeExtension("C:\\a\\APP.EXE"));
    EXPECT_TRUE(hasExeExtension(".ExE"));
    EXPECT_FALSE(hasExeExtension("exe"));
    EXPECT_FALSE(hasExeExtension("C:\\a\\app.exe.bak"));
    EXPECT_FALSE(hasExeExtension("C:\\a\\app?exe"));
}

TEST(PathTextTest, RelativeAndAbsolutePaths) {
    const struct {
        const char* path;
        bool relative;
    } cases[] = {
        {"C:\\x", false}, {"c:\\", false}, {"\\\\server\\share", false}, {"\"C:\\x\"", false},
        {"..\\lib", true}, {"lib", true},  {"C:", true},                 {"\"C:", true},
        {"C:x\\y", true},  {"/usr", true}, {"\\x\\y", true},             {"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(isRelativePath(c.path), c.relative);
    }
}

TEST(PathTextTest, DriveRoots) {
    for (const char* root : {"C:\\", "q:\\.", "Z:\\.\\."}) EXPECT_TRUE(isDriveRoot(root)) << root;
    for (const char* other : {"C:", "C:\\x", "C:\\..", "\\", "", "CC:\\"}) EXPECT_FALSE(isDriveRoot(other)) << other;
}

// Search paths and the embedded file names (key 2003) share this rule.
TEST(PathTextTest, ListsAreSplitAtSemicolonsWithoutEmptyPieces) {
    using Entries = std::vector<std::string>;
    const struct {
        const char* list;
        Entries entries;
    } cases[] = {
        {";a;;b\\c;", {"a", "b\\c"}},
        {"zelkorlib.jar;btldel.exe;", {"zelkorlib.jar", "btldel.exe"}},
        {";;a.jar;;lib\\b.jar;", {"a.jar", "lib\\b.jar"}},
        {"last", {"last"}},
        {"a;last", {"a", "last"}},
        {" ; ", {" ", " "}},
        {"", {}},
        {";;", {}},
        {";;;", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        EXPECT_EQ(splitPathList(c.list), c.entries);
    }
}

}  // namespace
