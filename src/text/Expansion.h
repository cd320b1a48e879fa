#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Placeholder expansion over narrow texts, free of any system call: the
// Windows edge gathers the values, this code applies them.

// The run-time values that placeholders stand for, taken anew for every text.
struct ExpansionValues {
    std::string launcherDirectory;    // with its trailing backslash
    std::string tempDirectory;        // the launcher's extraction directory, empty while none exists
    std::string jvmHome;              // empty until a Java runtime is chosen
    std::string systemTempDirectory;  // the base temporary path
    std::vector<std::string> environment;  // entries "NAME=VALUE" in block order
};

// Replaces every occurrence of `placeholder` (case-sensitive) by `value`,
// scanning from the start and going on right after each inserted value, so a
// value is never searched for its own placeholder. Each replacement logs the
// whole text. `capacity` counts the caller's buffer including its terminator:
// a replacement that would make the text longer than capacity - 1 is refused,
// logged as an error and its placeholder left in place. Returns false when at
// least one occurrence was refused.
bool replaceAll(std::string& text, std::string_view placeholder, std::string_view value, size_t capacity);

// Runs every launcher placeholder and then every environment reference over
// `text`, in that fixed order, within `capacity` (as for replaceAll).
void expandText(std::string& text, const ExpansionValues& values, size_t capacity);
