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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isContainedName(c.name), c.contained);
    }
}

}  // namespace
