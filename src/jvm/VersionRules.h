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
// "openjdk version \"", the text up to the closing quote, so that a line going
// on after it ("openjdk version \"17.0.9\" 2023-10-17") gives "17.0.9". A line
// without a closing quote is cut by position as it always was: the rest
// without its last two characters. Nothing for any other line, or when that
// leaves nothing.
std::optional<std::string> versionFromBannerLine(std::string_view line);

// A version as read back from the version cache. Entries written before the
// banner was cut at its quote can hold the quote and what followed it
// ("17.0.9\" 2023-10-1"): the text before the first quote is the version.
std::string_view cachedVersionText(std::string_view stored);

// Whether the text names a pre-release: it contains "beta", "ea" or "rc"
// anywhere (case-sensitive, so "release" counts too, as it always has).
bool isPrereleaseVersion(std::string_view version);

// How a determined version stands against the configured limits, the first
// reason that refuses it winning.
enum class VersionFit { Accepted, Prerelease, BelowMinimum, AboveMaximum };

// The lower limit compares as many numbers as `minVersion` has, the upper
// limit as many as `maxVersion` has (so "1.6" accepts 1.6.0_45 and a maximum
// "1.8" accepts 1.8.0_202); an empty limit always passes. Unless
// `prereleaseAllowed`, a pre-release is refused first (logged as "beta vm not
// allowed").
VersionFit versionFit(std::string_view version, std::string_view minVersion, std::string_view maxVersion,
                      bool prereleaseAllowed);

// Whether versionFit accepts the version.
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
