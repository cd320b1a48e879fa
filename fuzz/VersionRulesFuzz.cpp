// Version texts come from whatever a java.exe prints, from the registry and
// from the configuration. Whatever their bytes, the rules must cut banners
// within the line, order versions consistently and treat limits alike for
// every version on the same side of them.
//
// Input: up to five texts separated by zero bytes: a banner line, two
// versions, a lower and an upper limit.
#include "log/MemoryLog.h"
#include "jvm/VersionRules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

int sign(int value) { return (value > 0) - (value < 0); }

void checkBannerCut(std::string_view line) {
    const std::optional<std::string> version = versionFromBannerLine(line);
    if (!version) return;
    size_t prefix = 0;
    for (std::string_view known : {std::string_view("java version \""), std::string_view("openjdk version \"")})
        if (line.starts_with(known)) prefix = known.size();
    check(prefix != 0);
    check(!version->empty());
    check(line.substr(prefix, version->size()) == *version);
    // Up to the closing quote, or, without one, all but the last two characters.
    if (line.find('"', prefix) != std::string_view::npos) {
        check(version->find('"') == std::string::npos);
        check(line[prefix + version->size()] == '"');
    } else {
        check(line.size() == prefix + version->size() + 2);
    }
    check(cachedVersionText(*version) == *version);
}

void checkOrder(std::string_view a, std::string_view b, std::string_view c) {
    const int ab = compareVersions(a, b);
    check(sign(ab) == -sign(compareVersions(b, a)));
    check((ab == 0) == (a == b));
    check(compareVersions(a, a) == 0);
    if (ab <= 0 && compareVersions(b, c) <= 0) check(compareVersions(a, c) <= 0);
}

void checkLimits(std::string_view older, std::string_view newer, std::string_view min, std::string_view max) {
    // Nothing limits a version when no limit is set and pre-releases are allowed.
    check(acceptVersion(older, "", "", true));
    // A limit admits the version it names.
    check(acceptVersion(min, min, min, true));
    check(versionInRange(min, min, min));
    for (std::string_view version : {older, newer}) {
        const bool accepted = acceptVersion(version, min, max, true);
        // The registry pre-filter never drops what the full check would accept.
        if (accepted) check(versionInRange(version, min, max));
        check(acceptVersion(version, min, max, false) == (accepted && !isPrereleaseVersion(version)));
    }
    // What passes a limit, every version on the far side of it passes too.
    if (acceptVersion(older, min, "", true)) check(acceptVersion(newer, min, "", true));
    if (acceptVersion(newer, "", max, true)) check(acceptVersion(older, "", max, true));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Refused pre-releases log; the memory log would otherwise grow over the whole run.
    clearMemoryLog();
    std::vector<std::string_view> texts;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (texts.size() < 4) {
        const size_t end = rest.find('\0');
        if (end == std::string_view::npos) break;
        texts.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    texts.push_back(rest);
    texts.resize(5);
    const std::string_view line = texts[0], a = texts[1], b = texts[2], min = texts[3], max = texts[4];

    checkBannerCut(line);
    checkOrder(a, b, min);
    const bool aIsOlder = compareVersions(a, b) <= 0;
    checkLimits(aIsOlder ? a : b, aIsOlder ? b : a, min, max);
    if (const std::optional<std::string> banner = versionFromBannerLine(line))
        check(acceptVersion(*banner, "", "", true));
    return 0;
}
