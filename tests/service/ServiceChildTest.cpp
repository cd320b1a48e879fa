#include "service/ServiceChild.h"

#include "text/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::u16string>;

TEST(ServiceChildTest, CommandLinePiecesAreQuotedOnlyWhenTheyHoldABlankAndSplitBackToTheWords) {
    const struct {
        const char* name;
        std::u16string program, service;
        Words own, start;
        std::u16string line;
    } cases[] = {
        {"service name and start argument", u"C:\\Program Files\\app.exe", u"My Svc", {}, {u"-x"},
         u"\"C:\\Program Files\\app.exe\" \"My Svc\" -x __btl_restart"},
        {"own arguments before start arguments", u"C:\\app.exe", u"Svc", {u"own one", u"-o"}, {u"s", u"start two"},
         u"C:\\app.exe Svc \"own one\" -o s \"start two\" __btl_restart"},
        {"tab is no blank", u"a.exe", u"S\tT", {}, {}, u"a.exe S\tT __btl_restart"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string line;
        Words own{c.program};
        own.insert(own.end(), c.own.begin(), c.own.end());
        ASSERT_TRUE(composeChildCommandLine(own, c.service, c.start, line));
        EXPECT_EQ(line, c.line);
        Words words, expected{c.program, c.service};
        splitCommandLine(line, words);
        expected.insert(expected.end(), c.own.begin(), c.own.end());
        expected.insert(expected.end(), c.start.begin(), c.start.end());
        expected.push_back(u"__btl_restart");
        EXPECT_EQ(words, expected);
    }
}

TEST(ServiceChildTest, StartArgumentsAreCutAndALineBeyondItsBufferIsRefusedWhole) {
    std::u16string line;
    ASSERT_TRUE(composeChildCommandLine({u"a"}, u"S", {std::u16string(9000, u'x')}, line));
    EXPECT_EQ(line, u"a S " + std::u16string(kStartArgumentCapacity, u'x') + u" __btl_restart");

    // "a S " + own + " __btl_restart": the longest line that fits leaves room for the terminator.
    const size_t fixed = 4 + 14;
    const std::u16string fits(kChildCommandLineCapacity - 1 - fixed, u'y');
    ASSERT_TRUE(composeChildCommandLine({u"a", fits}, u"S", {}, line));
    EXPECT_EQ(line.size(), kChildCommandLineCapacity - 1);
    const std::u16string before = line;
    EXPECT_FALSE(composeChildCommandLine({u"a", fits + u'y'}, u"S", {}, line));
    EXPECT_EQ(line, before);
}

TEST(ServiceChildTest, OnlyThePriorityClassesAreTaken) {
    for (uint32_t value : {0x40u, 0x4000u, 0x20u, 0x8000u, 0x80u, 0x100u}) EXPECT_TRUE(isPriorityClass(value)) << value;
    // Suspended, detached, a class with a flag added, nothing, all bits.
    for (uint32_t value : {0x4u, 0x8u, 0x84u, 0x0u, 0xFFFFFFFFu}) EXPECT_FALSE(isPriorityClass(value)) << value;
}

}  // namespace
