#include "Durations.h"

#include <gtest/gtest.h>

using namespace generator;

namespace {

TEST(Durations, ReadWholeNumbersWithTheirUnit) {
    const struct {
        const char* text;
        std::optional<uint32_t> seconds;
    } cases[] = {
        {"90s", 90},          {"90 s", 90},        {"10min", 600},     {"2h", 7200},      {"1d", 86400},
        {"0s", 0},            {"49710d", 4294944000u},                 {"49711d", std::nullopt},
        {"4294967296s", std::nullopt},             {"10", std::nullopt}, {"10m", std::nullopt},
        {"1.5h", std::nullopt}, {"-1s", std::nullopt}, {" 1s", std::nullopt}, {"1  s", std::nullopt},
        {"1S", std::nullopt}, {"s", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDurationSeconds(c.text), c.seconds) << c.text;
}

TEST(Durations, AreWrittenInTheLargestUnitThatDividesThem) {
    for (const uint32_t seconds : {0u, 1u, 59u, 60u, 90u, 3600u, 5400u, 86400u, 172800u, 4294967295u}) {
        const std::string text = durationText(seconds);
        EXPECT_EQ(parseDurationSeconds(text), seconds) << text;
    }
    EXPECT_EQ(durationText(90), "90s");
    EXPECT_EQ(durationText(120), "2min");
    EXPECT_EQ(durationText(7200), "2h");
    EXPECT_EQ(durationText(172800), "2d");
}

}  // namespace
