// The one table from outcomes to what the user sees and the exit code.
#include "core/ConfigKeys.h"
#include "core/Configuration.h"
#include "programs/FailurePolicy.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Expected {
    int32_t messageKey;
    const char* detail;  // nullptr: none
    int exitCode;
};

void expectReport(const std::optional<FailureReport>& report, const Expected& expected) {
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->messageKey, expected.messageKey);
    EXPECT_EQ(report->text, nullptr);
    if (expected.detail == nullptr) {
        EXPECT_EQ(report->detail, nullptr);
    } else {
        EXPECT_STREQ(report->detail, expected.detail);
    }
    EXPECT_EQ(report->exitCode, expected.exitCode);
}

TEST(FailurePolicyTest, ExtractionOutcomesAndTheirInternalErrorDetails) {
    const struct {
        ExtractionOutcome outcome;
        Expected expected;
    } cases[] = {
        {ExtractionOutcome::ReadFailed, {config::kMessageInternalError, "16", 1}},
        {ExtractionOutcome::WriteFailed, {config::kMessageInternalError, "16", 1}},
        {ExtractionOutcome::NameRefused, {config::kMessageInternalError, "11", 1}},
        {ExtractionOutcome::CreateFailed, {config::kMessageInternalError, "11", 1}},
        {ExtractionOutcome::NoTempDirectory, {config::kMessageInternalError, "7", 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.outcome));
        expectReport(extractionFailure(c.outcome, nullptr), c.expected);
    }
    EXPECT_FALSE(extractionFailure(ExtractionOutcome::Done, nullptr));

    // A damaged payload and an unreadable executable say so in a fixed text.
    const auto damaged = extractionFailure(ExtractionOutcome::PayloadDamaged, "Internal Error: payload");
    ASSERT_TRUE(damaged);
    EXPECT_STREQ(damaged->text, "Internal Error: payload");
    EXPECT_EQ(damaged->exitCode, 1);
    const auto unreadable = extractionFailure(ExtractionOutcome::Unreadable, nullptr);
    ASSERT_TRUE(unreadable);
    EXPECT_STREQ(unreadable->text, kOwnExecutableUnreadable);
}

TEST(FailurePolicyTest, HandOffFailuresAreTwentyOneAndTwentyTwo) {
    expectReport(handOffFailure(HandOffOutcome::NotCreated), {config::kMessageInternalError, "21", 1});
    expectReport(handOffFailure(HandOffOutcome::NotWritten), {config::kMessageInternalError, "22", 1});
    EXPECT_FALSE(handOffFailure(HandOffOutcome::Done));
}

TEST(FailurePolicyTest, MainCallOutcomesInBothPrograms) {
    const struct {
        MainCallOutcome outcome;
        Expected gui;
        Expected serviceChild;
    } cases[] = {
        {MainCallOutcome::Exception, {config::kMessageJvmStartFailed, nullptr, 1}, {0, nullptr, 1}},
        {MainCallOutcome::ClassNotFound,
         {config::kMessageMainClassNotFound, nullptr, 1},
         {config::kMessageMainClassNotFound, nullptr, 1}},
        {MainCallOutcome::MethodNotFound,
         {config::kMessageMainMethodNotFound, nullptr, 1},
         {config::kMessageMainMethodNotFound, nullptr, 1}},
        {MainCallOutcome::FirstRunClassNotFound,
         {config::kMessageInternalError, "14", 1},
         {config::kMessageInternalError, "14", 1}},
        {MainCallOutcome::FirstRunMethodNotFound,
         {config::kMessageInternalError, "15", 1},
         {config::kMessageInternalError, "15", 1}},
        {MainCallOutcome::ArgumentArrayFailed,
         {config::kMessageInternalError, "paramArray", 1},
         {config::kMessageInternalError, "paramArray", 1}},
        {MainCallOutcome::ArgumentStringFailed,
         {config::kMessageInternalError, "jstr", 1},
         {config::kMessageInternalError, "jstr", 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.outcome));
        expectReport(mainCallFailure(c.outcome, LauncherProgram::Gui), c.gui);
        expectReport(mainCallFailure(c.outcome, LauncherProgram::ServiceChild), c.serviceChild);
    }
    for (const MainCallOutcome fine : {MainCallOutcome::Returned, MainCallOutcome::StoppedByFirstRun}) {
        EXPECT_FALSE(mainCallFailure(fine, LauncherProgram::Gui));
        EXPECT_FALSE(mainCallFailure(fine, LauncherProgram::ServiceChild));
    }
}

TEST(FailurePolicyTest, NoJvmEndsTheGuiLauncherWithEightyThreeAndTheServiceChildWithOne) {
    const LoadFailureMessage none = loadFailureMessage(LOCATION_NONE, "", true);
    expectReport(noJvmFailure(none, LauncherProgram::Gui), {config::kMessageNoJvmOfBitnessFound, "64", 83});
    expectReport(noJvmFailure(none, LauncherProgram::ServiceChild), {config::kMessageNoJvmOfBitnessFound, "64", 1});
    const LoadFailureMessage registry = loadFailureMessage(LOCATION_REGISTRY, "", false);
    expectReport(noJvmFailure(registry, LauncherProgram::Gui), {config::kMessageJvmStartFailed, nullptr, 83});
}

TEST(FailurePolicyTest, JvmThatIsNotCreatedHasAMessageOnlyInTheGuiLauncher) {
    expectReport(jvmNotCreatedFailure(LauncherProgram::Gui), {config::kMessageJvmStartFailed, nullptr, 1});
    expectReport(jvmNotCreatedFailure(LauncherProgram::ServiceChild), {0, nullptr, 1});
    expectReport(missingEntryFailure(config::kMessageClassPathEntryMissing, "lib\\a.jar"),
                 {config::kMessageClassPathEntryMissing, "lib\\a.jar", 1});
}

}  // namespace
