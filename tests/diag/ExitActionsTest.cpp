#include "diag/ExitActions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ran;

TEST(ExitActionsTest, EachListRunsItsOwnActionsOnceInTheOrderAdded) {
    clearExitActions();
    ran.clear();
    addExitAction([] { ran += "temp "; });
    addBeforeErrorAction([] { ran += "splash "; });
    const ExitAction last = [] { ran += "last "; };
    addExitAction(last);
    addExitAction(last);  // a module that registers again changes nothing
    addExitAction(nullptr);

    runBeforeErrorActions();
    EXPECT_EQ(ran, "splash ");
    ran.clear();
    runExitActions();
    EXPECT_EQ(ran, "temp last ");

    clearExitActions();
    ran.clear();
    runExitActions();
    runBeforeErrorActions();
    EXPECT_EQ(ran, "");
}

}  // namespace
