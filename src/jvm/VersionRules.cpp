#include "jvm/VersionRules.h"

#include "log/Log.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::string_view kJavaPrefix = "java version \"";
constexpr std::string_view kOpenJdkPrefix = "openjdk version \"";
constexpr std::string_view kSeparators = "._-+";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<uint64_t> versionNumbers(std::string_view text) {
    std::vector<uint64_t> numbers;
    if (text.empty()) return numbers;
    for (;;) {
        const size_t end = text.find_first_of(kSeparators);
        const std::string_view piece = text.substr(0, end);
        uint64_t value = 0;
        // Saturates rather than wraps: no real version comes near it.
        for (size_t i = 0; i < piece.size() && isDigit(piece[i]); ++i)
            value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(piece[i] - '0'), UINT64_MAX / 10);
        numbers.push_back(value);
        if (end == std::string_view::npos) return numbers;
        text.remove_prefix(end + 1);
    }
}

// The first `count` numbers of each, a missing number counting as 0.
int compareNumbers(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint64_t x = i < a.size() ? a[i] : 0;
        const uint64_t y = i < b.size() ? b[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

}  // namespace

std::optional<std::string> versionFromBannerLine(std::string_view line) {
    std::string_view rest;
    if (line.starts_with(kJavaPrefix)) {
        rest = line.substr(kJavaPrefix.size());
    } else if (line.starts_with(kOpenJdkPrefix)) {
        rest = line.substr(kOpenJdkPrefix.size());
    } else {
        return std::nullopt;
    }
    const size_t closingQuote = rest.find('"');
    if (closingQuote != std::string_view::npos) {
        if (closingQuote == 0) return std::nullopt;
        return std::string(rest.substr(0, closingQuote));
    }
    // A line cut to nothing names no version.
    if (rest.size() <= 2) return std::nullopt;
    return std::string(rest.substr(0, rest.size() - 2));
}

std::string_view cachedVersionText(std::string_view stored) { return stored.substr(0, stored.find('"')); }

bool isPrereleaseVersion(std::string_view version) {
    return version.find("beta") != std::string_view::npos || version.find("ea") != std::string_view::npos ||
           version.find("rc") != std::string_view::npos;
}

VersionFit versionFit(std::string_view version, std::string_view minVersion, std::string_view maxVersion,
                      bool prereleaseAllowed) {
    if (!prereleaseAllowed && isPrereleaseVersion(version)) {
        logMessage("beta vm not allowed");
        return VersionFit::Prerelease;
    }
    const std::vector<uint64_t> numbers = versionNumbers(version);
    if (!minVersion.empty()) {
        const std::vector<uint64_t> lower = versionNumbers(minVersion);
        if (compareNumbers(numbers, lower, lower.size()) < 0) return VersionFit::BelowMinimum;
    }
    if (!maxVersion.empty()) {
        const std::vector<uint64_t> upper = versionNumbers(maxVersion);
        if (compareNumbers(numbers, upper, upper.size()) > 0) return VersionFit::AboveMaximum;
    }
    return VersionFit::Accepted;
}

bool acceptVersion(std::string_view version, std::string_view minVersion, std::string_view maxVersion,
                   bool prereleaseAllowed) {
    return versionFit(version, minVersion, maxVersion, prereleaseAllowed) == VersionFit::Accepted;
}

bool versionInRange(std::string_view name, std::string_view minVersion, std::string_view maxVersion) {
    const std::vector<uint64_t> numbers = versionNumbers(name);
    if (!minVersion.empty()) {
        const std::vector<uint64_t> lower = versionNumbers(minVersion);
        if (compareNumbers(numbers, lower, std::min(numbers.size(), lower.size())) < 0) return false;
    }
    if (!maxVersion.empty()) {
        const std::vector<uint64_t> upper = versionNumbers(maxVersion);
        if (compareNumbers(numbers, upper, std::min(numbers.size(), upper.size())) > 0) return false;
    }
    return true;
}

int compareVersions(std::string_view a, std::string_view b) {
    const std::vector<uint64_t> x = versionNumbers(a);
    const std::vector<uint64_t> y = versionNumbers(b);
    if (const int byNumbers = compareNumbers(x, y, std::max(x.size(), y.size()))) return byNumbers;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}
