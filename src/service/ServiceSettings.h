#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The service settings that the configuration carries beyond the service's
// name: how long a stop may take, and what the service control manager does
// when the service fails.

// A stop request waits this long for the child before the service ends it:
// the system's own default wait for services at shutdown.
inline constexpr uint32_t kDefaultStopTimeoutSeconds = 20;
inline constexpr uint32_t kMaxStopTimeoutSeconds = 3600;

// The configured number of seconds in milliseconds; zero, negative values
// (and an absent key, which reads as zero) give the default, larger ones the
// maximum.
uint32_t stopTimeoutMs(int32_t configuredSeconds);

// One step of the wait for the child after a stop request, `elapsedMs` after
// the request: either the time is up, or the service waits `sliceMs` more
// and tells the service control manager to expect news within `waitHintMs`
// (the time left, plus the moment it takes to end the child).
struct StopWait {
    bool expired;
    uint32_t sliceMs;
    uint32_t waitHintMs;
};
inline constexpr uint32_t kStopSliceMs = 1000;
inline constexpr uint32_t kStopMarginMs = 5000;
StopWait nextStopWait(uint32_t elapsedMs, uint32_t timeoutMs);

// The failure actions as the payload writes them:
// "<reset seconds>;<type>:<delay ms>;<type>:<delay ms>...", type 0 doing
// nothing and 1 restarting the service (the system's SC_ACTION_NONE and
// SC_ACTION_RESTART). At least one action, at most kMaxFailureActions.
struct FailureAction {
    uint32_t type;
    uint32_t delayMs;
};
inline constexpr uint32_t kFailureActionNone = 0;
inline constexpr uint32_t kFailureActionRestart = 1;
inline constexpr size_t kMaxFailureActions = 16;
struct FailureActions {
    uint32_t resetSeconds = 0;
    uint32_t count = 0;
    FailureAction actions[kMaxFailureActions];
};

// nullopt for any text that is not of that form: a refused value sets no
// action rather than a different one.
std::optional<FailureActions> parseFailureActions(std::string_view text);
