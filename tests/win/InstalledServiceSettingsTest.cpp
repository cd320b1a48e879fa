// What -install hands the service control manager for the optional settings,
// through the system-call table: Wine accepts the failure actions without
// keeping them and refuses the delayed start, so the calls themselves are
// what is checked here.
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/win/SystemCalls.h"
#include "service/win/InstalledServiceSettings.h"
#include "support/ProcessStateGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One call, with what its structure pointed to copied out.
struct SettingCall {
    DWORD level;
    std::wstring description;
    DWORD resetPeriod = 0;
    bool rebootMessageOrCommand = false;
    std::vector<std::pair<int, DWORD>> actions;
    BOOL delayed = FALSE;
};
std::vector<SettingCall> calls;
DWORD refusedError = 0;  // non-zero: every call fails with it

BOOL WINAPI recordSetting(SC_HANDLE, DWORD level, LPVOID info) {
    SettingCall call{level};
    if (level == SERVICE_CONFIG_DESCRIPTION) {
        call.description = static_cast<SERVICE_DESCRIPTIONW*>(info)->lpDescription;
    } else if (level == SERVICE_CONFIG_FAILURE_ACTIONS) {
        const auto* failure = static_cast<SERVICE_FAILURE_ACTIONSW*>(info);
        call.resetPeriod = failure->dwResetPeriod;
        call.rebootMessageOrCommand = failure->lpRebootMsg != nullptr || failure->lpCommand != nullptr;
        for (DWORD i = 0; i < failure->cActions; ++i)
            call.actions.emplace_back(failure->lpsaActions[i].Type, failure->lpsaActions[i].Delay);
    } else if (level == SERVICE_CONFIG_DELAYED_AUTO_START_INFO) {
        call.delayed = static_cast<SERVICE_DELAYED_AUTO_START_INFO*>(info)->fDelayedAutostart;
    }
    calls.push_back(call);
    if (refusedError == 0) return TRUE;
    ::SetLastError(refusedError);
    return FALSE;
}

class InstalledServiceSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        refusedError = 0;
        systemCalls().changeServiceConfig2 = recordSetting;
    }

    // Applies the settings for the start type and gives what was printed.
    std::string apply(DWORD startType) {
        ::testing::internal::CaptureStdout();
        applyInstalledServiceSettings(reinterpret_cast<SC_HANDLE>(0x5e5), startType);
        std::fflush(stdout);
        return ::testing::internal::GetCapturedStdout();
    }

    ProcessStateGuard processState_;
};

TEST_F(InstalledServiceSettingsTest, EverySettingIsPassedAsConfigured) {
    storeWideValue(config::kServiceDescription, u"Keeps the books");
    storeNarrowValue(config::kServiceFailureActions, "3600;1:5000;1:60000;0:0");
    storeNarrowValue(config::kServiceDelayedAutoStart, "1");
    EXPECT_EQ(apply(SERVICE_AUTO_START), "");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].level, static_cast<DWORD>(SERVICE_CONFIG_DESCRIPTION));
    EXPECT_EQ(calls[0].description, L"Keeps the books");
    EXPECT_EQ(calls[1].level, static_cast<DWORD>(SERVICE_CONFIG_FAILURE_ACTIONS));
    EXPECT_EQ(calls[1].resetPeriod, 3600u);
    EXPECT_FALSE(calls[1].rebootMessageOrCommand);  // left as they are
    const std::vector<std::pair<int, DWORD>> expected{{SC_ACTION_RESTART, 5000}, {SC_ACTION_RESTART, 60000}, {SC_ACTION_NONE, 0}};
    EXPECT_EQ(calls[1].actions, expected);
    EXPECT_EQ(calls[2].level, static_cast<DWORD>(SERVICE_CONFIG_DELAYED_AUTO_START_INFO));
    EXPECT_EQ(calls[2].delayed, TRUE);
}

TEST_F(InstalledServiceSettingsTest, WhatIsNotConfiguredOrDoesNotApplyIsNotSet) {
    EXPECT_EQ(apply(SERVICE_AUTO_START), "");
    EXPECT_TRUE(calls.empty());

    storeNarrowValue(config::kServiceDelayedAutoStart, "1");  // an install on demand has no delayed start
    EXPECT_EQ(apply(SERVICE_DEMAND_START), "");
    storeNarrowValue(config::kServiceDelayedAutoStart, "0");
    EXPECT_EQ(apply(SERVICE_AUTO_START), "");
    EXPECT_TRUE(calls.empty());
}

TEST_F(InstalledServiceSettingsTest, RefusedSettingsAreNamedAndTheRestIsStillSet) {
    storeWideValue(config::kServiceDescription, u"d");
    storeNarrowValue(config::kServiceFailureActions, "3600;1:5000");
    storeNarrowValue(config::kServiceDelayedAutoStart, "1");
    refusedError = ERROR_INVALID_LEVEL;
    EXPECT_EQ(apply(SERVICE_AUTO_START),
              "Could not set the failure actions. Error code: 124\n"
              "Could not set the delayed automatic start. Error code: 124\n");
    EXPECT_EQ(calls.size(), 3u);

    calls.clear();
    refusedError = 0;
    storeNarrowValue(config::kServiceFailureActions, "3600;3:0");  // no such action: nothing in its place
    EXPECT_EQ(apply(SERVICE_AUTO_START), "Could not set the failure actions: \"3600;3:0\" is not a list of actions.\n");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].level, static_cast<DWORD>(SERVICE_CONFIG_DELAYED_AUTO_START_INFO));
}

}  // namespace
