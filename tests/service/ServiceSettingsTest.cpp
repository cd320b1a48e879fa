#include "service/ServiceSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ServiceSettingsTest, StopTimeoutDefaultsToTwentySecondsAndIsBoundedByAnHour) {
    const struct {
        int32_t configured;
        uint32_t ms;
    } cases[] = {{0, 20000}, {-5, 20000}, {1, 1000}, {90, 90000}, {3600, 3600000}, {3601, 3600000}, {INT32_MAX, 3600000}};
    for (const auto& c : cases) EXPECT_EQ(stopTimeoutMs(c.configured), c.ms) << c.configured;
}

// Slices of at most a second; the wait hint covers what is left and the
// moment it takes to end the child; the last slice ends on the timeout.
TEST(ServiceSettingsTest, StopWaitCoversTheRestOfTheTimeout) {
    const struct {
        uint32_t elapsed, timeout;
        bool expired;
        uint32_t slice, hint;
    } cases[] = {
        {0, 20000, false, 1000, 25000},
        {12345, 20000, false, 1000, 12655},
        {19500, 20000, false, 500, 5500},
        {20000, 20000, true, 0, 5000},
        {4000000000u, 20000, true, 0, 5000},  // long past
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.elapsed);
        const StopWait wait = nextStopWait(c.elapsed, c.timeout);
        EXPECT_EQ(wait.expired, c.expired);
        if (!c.expired) EXPECT_EQ(wait.sliceMs, c.slice);
        EXPECT_EQ(wait.waitHintMs, c.hint);
    }
}

TEST(ServiceSettingsTest, FailureActionsAreReadExactlyOrNotAtAll) {
    const std::optional<FailureActions> three = parseFailureActions("86400;1:10000;1:60000;0:0");
    ASSERT_TRUE(three.has_value());
    EXPECT_EQ(three->resetSeconds, 86400u);
    ASSERT_EQ(three->count, 3u);
    EXPECT_EQ(three->actions[0].type, kFailureActionRestart);
    EXPECT_EQ(three->actions[0].delayMs, 10000u);
    EXPECT_EQ(three->actions[1].delayMs, 60000u);
    EXPECT_EQ(three->actions[2].type, kFailureActionNone);
    EXPECT_EQ(parseFailureActions("0;1:4294967295")->actions[0].delayMs, 4294967295u);

    std::string sixteen = "60", seventeen;
    for (int i = 0; i < 16; ++i) sixteen += ";1:1000";
    seventeen = sixteen + ";0:0";
    EXPECT_EQ(parseFailureActions(sixteen)->count, 16u);
    for (const std::string& refused : {std::string(""), std::string("86400"), std::string("86400;"),
                                       std::string("86400;2:0"), std::string("86400;1:"), std::string("86400;1"),
                                       std::string("86400;1:10;"), std::string("x;1:0"), std::string(";1:0"),
                                       std::string("4294967296;1:0"), std::string("0;1:4294967296"),
                                       std::string("86400;1:10000 "), std::string("86400;-1:0"),
                                       std::string("86400;1:+5"), seventeen})
        EXPECT_FALSE(parseFailureActions(refused).has_value()) << refused;
}

}  // namespace
