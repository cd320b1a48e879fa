#include "files/InstanceNames.h"

#include <gtest/gtest.h>

namespace {

TEST(InstanceNamesTest, SemaphoreNamesTurnBackslashesAndSpacesIntoUnderscores) {
    struct Case {
        bool global;
        const char* path;
        const char* base;
    } cases[] = {
        {false, "c:\\program files\\my app\\app.exe", "Local\\c:_program_files_my_app_app.exe"},
        {true, "c:\\apps\\app.exe", "Global\\c:_apps_app.exe"},
        {false, "\\\\server\\share\\a  b.exe", "Local\\__server_share_a__b.exe"},
        {false, "z:\\x\\tab\tslash/\xc3\xa9.exe", "Local\\z:_x_tab\tslash/\xc3\xa9.exe"},
        {false, "", "Local\\"},
    };
    for (const Case& c : cases) {
        const std::string base = instanceSemaphoreBase(c.global, c.path);
        EXPECT_EQ(base, c.base) << c.path;
        EXPECT_EQ(numberedSemaphoreName(base, 0), base + "0");
        EXPECT_EQ(numberedSemaphoreName(base, 100000), base + "100000");
        EXPECT_EQ(notificationSemaphoreName(base), base + "_notification");
    }
}

// The expected text is widened here character by character: all cases are ASCII
// apart from the one non-ASCII row, written out as bytes.
std::string utf16le(const std::string& ascii) {
    std::string bytes;
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(InstanceNamesTest, CommunicationFileHoldsTheArgumentsAsTypedAndALineFeed) {
    struct Case {
        std::u16string commandLine;
        std::string arguments;  // before the line feed
    } cases[] = {
        {u"\"C:\\My Apps\\app.exe\" a \"b c\"", "a \"b c\""},
        {u"C:\\apps\\app.exe a \"b c\"", "a \"b c\""},
        {u"app.exe   a  b  ", "a  b  "},
        {u"app.exe\t\t-x", "-x"},
        {u"\"C:\\a b\\app.exe\"x y", "y"},      // the name runs on to the first blank after its quote
        {u"\"C:\\a b\\app.exe\"", ""},          // no blank after the name
        {u"\"C:\\a b\\app.exe -x", ""},         // no closing quote
        {u"app.exe", ""},
        {u"app.exe ", ""},
        {u"", ""},
        {u"\"\" a", "a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(communicationFileBytes(c.commandLine), utf16le(c.arguments + "\n"))
            << std::string(c.commandLine.begin(), c.commandLine.end());
}

TEST(InstanceNamesTest, CommunicationFileKeepsEveryUtf16UnitLittleEndian) {
    // e-acute, a CJK character and a surrogate pair.
    const std::u16string line = u"app.exe \u00e9\u4e2d\U0001F600";
    EXPECT_EQ(communicationFileBytes(line), std::string("\xe9\x00\x2d\x4e\x3d\xd8\x00\xde\x0a\x00", 10));
}

}  // namespace
