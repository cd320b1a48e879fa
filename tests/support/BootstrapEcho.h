#pragma once

// What the test bootstrap class (tests/realjvm/java/WinLauncher.java) echoes:
// main's arguments and the selected system properties, one per line, every
// text as the "\uXXXX" escapes of its UTF-16 code units. Read back into UTF-16
// so that a caller compares exactly what Java saw, lone surrogates included.
// Portable: the host harness and the Windows programs of the tests share it.

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct BootstrapEcho {
    std::vector<std::u16string> arguments;
    std::map<std::string, std::u16string> properties;
    bool wellFormed = true;  // false when a line did not parse
};

BootstrapEcho parseBootstrapEcho(std::string_view output);

// Groups of main arguments that must reach Java as the exact code units sent.
struct ArgumentGroup {
    const char* name;
    std::vector<std::u16string> arguments;
};

inline const std::vector<ArgumentGroup>& exactArgumentGroups() {
    static const std::vector<ArgumentGroup> groups{
        {"none", {}},
        {"empty ones", {u"", u"between", u""}},
        {"ASCII that looks like options", {u"with space", u"\"quoted\"", u"-Jfoo", u"-Dzelkor.x=y", u"C:\\a\\"}},
        {"outside ASCII", {u"caf\u00e9", u"\u65e5\u672c\u8a9e", u"\u00a0\u20ac"}},
        {"surrogate pairs", {u"\U0001F600", u"a\U00010348b\U0010FFFF"}},
        {"lone surrogates", {std::u16string(1, char16_t(0xD800)), u"x" + std::u16string(1, char16_t(0xDC00))}},
    };
    return groups;
}
