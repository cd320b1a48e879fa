#include "files/EmbeddedNames.h"

#include <gtest/gtest.h>

namespace {

TEST(EmbeddedNamesTest, OnlyNamesInsideTheTemporaryDirectoryAreAccepted) {
    const struct {
        const char* name;
        bool contained;
    } cases[] = {
        {"a.jar", true},          {"lib\\a.jar", true},      {"lib\\sub\\a.jar", true}, {"..a.jar", true},
        {"a..\\b", true},         {"", false},               {"..", false},             {"..\\a.jar", false},
        {"lib\\..\\..\\x", false}, {"lib/../../x", false},   {"C:\\x.jar", false},      {"C:x.jar", false},
        {"\\x.jar", false},       {"/x.jar", false},         {"\\\\server\\s\\x", false}, {"lib\\..", false},
        // Device names reach a device in any directory, with any extension.
        {"NUL", false},           {"nul.jar", false},        {"lib\\Con.txt", false},  {"lib/aux/x.jar", false},
        {"COM1 .jar", false},     {"lpt9.x", false},         {"CONIN$", false},         {"com\xb9.txt", false},
        {"com", true},            {"com10", true},           {"console.jar", true},     {"nulx", true},
        {"lib\\nul_a.jar", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isContainedName(c.name), c.contained);
    }
}

}  // namespace
