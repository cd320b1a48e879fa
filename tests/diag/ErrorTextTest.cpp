#include "diag/ErrorText.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorTextTest, OnlyTheFirstPlaceholderIsFilled) {
    EXPECT_EQ(fillPlaceholder("An internal error occurred (error code: {0})", "16"),
              "An internal error occurred (error code: 16)");
    EXPECT_EQ(fillPlaceholder("{0} and {0}", "x"), "x and {0}");
    EXPECT_EQ(fillPlaceholder("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(fillPlaceholder("keeps {0}", nullptr), "keeps {0}");
    EXPECT_EQ(fillPlaceholder("", "x"), "");
    EXPECT_EQ(fillPlaceholder("{0}", "{0}"), "{0}");
}

TEST(ErrorTextTest, LogPathIsAppendedAndTheWholeIsCut) {
    EXPECT_EQ(composeErrorMessage("Failed", nullptr), "Failed");
    EXPECT_EQ(composeErrorMessage("Failed", "C:\\t\\btl_nlog_1"), "Failed\n\nLog: C:\\t\\btl_nlog_1");
    EXPECT_EQ(composeErrorMessage("", "c:\\btl_nlog"), "\n\nLog: c:\\btl_nlog");

    const std::string longText(10000, 'x');
    const std::string message = composeErrorMessage(longText, "c:\\btl_nlog");
    EXPECT_EQ(message.size(), kErrorMessageCapacity - 1);
    EXPECT_EQ(message, longText.substr(0, kErrorMessageCapacity - 1));
    const std::string nearlyFull(8180, 'y');
    EXPECT_EQ(composeErrorMessage(nearlyFull, "c:\\btl_nlog").substr(8180), std::string("\n\nLog: c:\\b"));
}

}  // namespace
