// Gathers the run-time values for expansion. Everything is read again on
// every call: the temporary directory and the Java home change during
// start-up, and an earlier step may have changed the environment (the PATH).
#include "text/VariableExpansion.h"

#include "core/BufferCapacity.h"
#include "core/LauncherState.h"
#include "core/WinApi.h"
#include "files/PathUtilities.h"
#include "files/TempDirectory.h"
#include "text/Expansion.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The narrow environment block: entries ending in a terminator, the block in
// an empty entry.
std::vector<std::string> environmentEntries() {
    std::vector<std::string> entries;
    char* block = ::GetEnvironmentStringsA();
    if (block == nullptr) return entries;
    for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) entries.emplace_back(entry);
    ::FreeEnvironmentStringsA(block);
    return entries;
}

}  // namespace

void expandVariables(char* text, size_t capacity) {
    if (text == nullptr || capacity == 0) return;
    // Every placeholder and variable reference starts with "%" or "$": a text
    // with neither stays as it is, and gathering the values (the temporary
    // path looks up every directory of it) would cost the runtime search that
    // expands each of its entries more than the search itself.
    if (strnlen(text, capacity) < capacity && std::strpbrk(text, "%$") == nullptr) return;

    ExpansionValues values;
    values.launcherDirectory = launcherDirectory();
    values.tempDirectory = tempDir();
    values.jvmHome = jvmHome();
    // Taken for every text with placeholders, whichever it holds: when no
    // temporary path is usable, the launcher ends here rather than at some
    // later, less obvious place.
    values.systemTempDirectory = findTempPath();
    values.environment = environmentEntries();

    // A text that fills its buffer without a terminator is read as if the
    // last byte were one, so the copy back cannot run past the buffer.
    std::string expanded(text, strnlen(text, capacity - 1));
    expandText(expanded, values, capacity);
    std::memcpy(text, expanded.c_str(), expanded.size() + 1);
}

void expandVariables(std::string& text) {
    char buffer[kBufferCapacity];
    const size_t length = std::min(text.size(), kBufferCapacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    expandVariables(buffer, sizeof buffer);
    text.assign(buffer);
}
