#pragma once

#include <optional>
#include <string>
#include <string_view>

// The version rules of the Java runtime search. A version text is kept
// exactly as cut from a runtime's banner (and as stored in the version
// cache); for comparisons it is read as a sequence of numbers: pieces split
// at ".", "_", "-" and "+", each piece counting with its leading digits (none
// counts as 0). So 1.8.0_121 is newer than 1.8.0_45, and 11 newer than 9.0.4.

// The version text of a banner's first line: after "java version \"" or
// "openjdk version \"", the rest of the line without its last two characters
// (the closing quote and the line end, where the line ends there; a line that
// goes on after the quote keeps all but its last character). Nothing for any
// other line, or when the cut leaves nothing.
std::optional<std::string> versionFromBannerLine(std::string_view line);

// Whether the text names a pre-release: it contains "beta", "ea" or "rc"
// anywhere (case-sensitive, so "release" counts too, as it always has).
bool isPrereleaseVersion(std::string_view version);

// A determined version against the configured limits: the lower limit
// compares as many numbers as `minVersion` has, the upper limit as many as
// `maxVersion` has (so "1.6" accepts 1.6.0_45 and a maximum "1.8" accepts
// 1.8.0_202); an empty limit always passes. Unless `prereleaseAllowed`, a
// pre-release is refused (logged as "beta vm not allowed").
bool acceptVersion(std::string_view version, std::string_view minVersion, std::string_view maxVersion,
                   bool prereleaseAllowed);

// The pre-filter for version names read from the registry: each limit
// compares only as many numbers as the shorter of name and limit has, so a
// name "1.8" passes a minimum of "1.8.0_20" and the full version decides later.
bool versionInRange(std::string_view name, std::string_view minVersion, std::string_view maxVersion);

// Orders two versions: negative when `a` is older, positive when newer. Equal
// numbers (1.8 and 1.8.0) fall back to comparing the texts byte by byte, so
// the order is total.
int compareVersions(std::string_view a, std::string_view b);
