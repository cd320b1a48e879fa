#include "service/ServiceSettings.h"

#include <algorithm>

namespace {

// Decimal digits only, within 32 bits; advances `text` past them.
std::optional<uint32_t> takeNumber(std::string_view& text) {
    size_t length = 0;
    uint64_t value = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        value = value * 10 + static_cast<uint32_t>(text[length] - '0');
        if (value > UINT32_MAX) return std::nullopt;
        ++length;
    }
    if (length == 0) return std::nullopt;
    text.remove_prefix(length);
    return static_cast<uint32_t>(value);
}

bool takeCharacter(std::string_view& text, char expected) {
    if (text.empty() || text.front() != expected) return false;
    text.remove_prefix(1);
    return true;
}

}  // namespace

uint32_t stopTimeoutMs(int32_t configuredSeconds) {
    const uint32_t seconds = configuredSeconds <= 0 ? kDefaultStopTimeoutSeconds
                                                    : std::min(static_cast<uint32_t>(configuredSeconds), kMaxStopTimeoutSeconds);
    return seconds * 1000;
}

StopWait nextStopWait(uint32_t elapsedMs, uint32_t timeoutMs) {
    if (elapsedMs >= timeoutMs) return {true, 0, kStopMarginMs};
    const uint32_t left = timeoutMs - elapsedMs;
    return {false, std::min(left, kStopSliceMs), left + kStopMarginMs};
}

std::optional<FailureActions> parseFailureActions(std::string_view text) {
    FailureActions parsed;
    const std::optional<uint32_t> reset = takeNumber(text);
    if (!reset) return std::nullopt;
    parsed.resetSeconds = *reset;
    while (takeCharacter(text, ';')) {
        const std::optional<uint32_t> type = takeNumber(text);
        if (!type || *type > kFailureActionRestart || !takeCharacter(text, ':')) return std::nullopt;
        const std::optional<uint32_t> delay = takeNumber(text);
        if (!delay || parsed.count == kMaxFailureActions) return std::nullopt;
        parsed.actions[parsed.count++] = {*type, *delay};
    }
    if (!text.empty() || parsed.count == 0) return std::nullopt;
    return parsed;
}
