#include "service/ServiceCommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using C = ServiceCommand;

struct ParseCase {
    const char* text;
    ServiceCommand command;
    bool interactive;
    const char* name;  // nullptr: no name given
};

const ParseCase kParseCases[] = {
    // Prefixes: "/" or "-", and one more "-" after either.
    {"/install", C::Install, true, nullptr},
    {"-install", C::Install, true, nullptr},
    {"--install", C::Install, true, nullptr},
    {"/-install", C::Install, true, nullptr},
    {"install", C::None, true, nullptr},
    {"---install", C::None, true, nullptr},
    {"-/install", C::None, true, nullptr},
    {"//install", C::None, true, nullptr},
    {"", C::None, true, nullptr},
    {"-", C::None, true, nullptr},
    // Every word, compared whole and case-sensitively.
    {"-install-and-start", C::InstallAndStart, true, nullptr},
    {"-install-auto", C::InstallAuto, true, nullptr},
    {"-install-demand", C::InstallDemand, true, nullptr},
    {"-uninstall", C::Uninstall, true, nullptr},
    {"-stop", C::Stop, true, nullptr},
    {"-start", C::Start, true, nullptr},
    {"-status", C::Status, true, nullptr},
    {"-restart", C::Restart, true, nullptr},
    {"--restart My Service", C::Restart, true, "My Service"},
    {"-Install", C::None, true, nullptr},
    {"-STATUS", C::None, true, nullptr},
    {"-installer", C::None, true, nullptr},
    {"-sta", C::None, true, nullptr},
    // The name is all the text after the blank, blanks included.
    {"-install My Service", C::Install, true, "My Service"},
    {"-install  two", C::Install, true, " two"},
    {"-stop x", C::Stop, true, "x"},
    // A lone trailing blank is not followed by enough to end the word.
    {"-install ", C::None, true, nullptr},
    // "non-interactive" right after a blank, in any position before the name.
    {"-install non-interactive My Service", C::Install, false, "My Service"},
    {"-install non-interactive", C::Install, false, nullptr},
    {"-install non-interactive ", C::Install, false, nullptr},
    {"-install non-interactive non-interactive x", C::Install, false, "x"},
    {"-install My Service non-interactive", C::Install, true, "My Service non-interactive"},
    {"-install non-interactiv", C::Install, true, "non-interactiv"},
    // Compared over 15 characters and skipped by 16: what follows the word
    // directly is looked at as if it were the blank.
    {"-install non-interactiveX", C::Install, false, nullptr},
    {"-install non-interactiveXYZ", C::Install, false, "YZ"},
    // An unknown word still takes the name and the flag.
    {"-bogus non-interactive Name", C::None, false, "Name"},
    {"install Name", C::None, true, nullptr},
};

TEST(ServiceCommandLineTest, ParsesPrefixWordFlagAndName) {
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(std::string("text: \"") + c.text + "\"");
        const ServiceCommandLine line = parseServiceCommandLine(c.text);
        EXPECT_EQ(line.command, c.command);
        EXPECT_EQ(line.interactive, c.interactive);
        EXPECT_EQ(line.serviceName.value_or("(none)"), c.name ? c.name : "(none)");
    }
}

TEST(ServiceCommandLineTest, NameIsCutToItsCapacity) {
    const std::string text = "-install " + std::string(9000, 'n');
    const ServiceCommandLine line = parseServiceCommandLine(text);
    ASSERT_TRUE(line.serviceName);
    EXPECT_EQ(line.serviceName->size(), 8191u);
}

std::string dependencyList(std::string value) {
    value.append("##");  // the two characters of room; overwritten or cut off
    value.resize(makeDependencyList(value.data(), value.size() - 2));
    return value;
}

TEST(ServiceCommandLineTest, DependencyListDropsEmptyItemsAndEndsWithTwoZeros) {
    const struct {
        const char* value;
        std::string list;
    } cases[] = {
        {"", ""},
        {",,", ""},
        {"Tcpip", std::string("Tcpip\0\0", 7)},
        {"Tcpip,", std::string("Tcpip\0\0", 7)},
        {"Tcpip,,Dhcp", std::string("Tcpip\0Dhcp\0\0", 12)},
        {",Tcpip,Dhcp,,", std::string("Tcpip\0Dhcp\0\0", 12)},
        {"A B,C", std::string("A B\0C\0\0", 7)},
    };
    for (const auto& c : cases) EXPECT_EQ(dependencyList(c.value), c.list) << c.value;
    // The longest single name that fits the list with its two zeros.
    EXPECT_EQ(dependencyList(std::string(kDependencyListCapacity - 2, 'a')).size(), kDependencyListCapacity);
}

TEST(ServiceCommandLineTest, BinaryPathIsQuotedOnlyWhenItHoldsABlank) {
    EXPECT_EQ(serviceBinaryPath(u"C:\\Apps\\svc.exe"), u"C:\\Apps\\svc.exe");
    EXPECT_EQ(serviceBinaryPath(u"C:\\Program Files\\My App\\svc.exe"), u"\"C:\\Program Files\\My App\\svc.exe\"");
}

TEST(ServiceCommandLineTest, WaitHintCountsAcrossTheTickCounterWrap) {
    const struct {
        uint32_t start, now, hint;
        bool exceeded;
    } cases[] = {
        {1000, 1500, 1000, false},
        {1000, 2001, 1000, true},
        {0xFFFFFF00u, 0xFFFFFF10u, 1000, false},  // start + hint would wrap to a small number
        {0xFFFFFF00u, 0x00000100u, 1000, false},  // 512 ms across the wrap
        {0xFFFFFF00u, 0x00000400u, 1000, true},   // 1280 ms across the wrap
    };
    for (const auto& c : cases) EXPECT_EQ(waitHintExceeded(c.start, c.now, c.hint), c.exceeded) << c.start << " " << c.now;
}

}  // namespace
