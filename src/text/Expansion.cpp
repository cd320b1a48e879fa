#include "text/Expansion.h"

#include "log/Log.h"

#include <climits>

namespace {

constexpr std::string_view kPathListSeparator = ";";

enum class Source { LauncherDirectory, TempDirectory, PathListSeparator, JvmHome, SystemTempDirectory };

struct LauncherPlaceholder {
    std::string_view placeholder;
    Source source;
};

// The order matters to users: text inserted by one step is searched by every
// later one, and all of these run before any environment reference, so an
// environment value can never smuggle in a launcher placeholder.
constexpr LauncherPlaceholder kLauncherPlaceholders[] = {
    {"%ZELKOR_EXEDIR%", Source::LauncherDirectory},
    {"%BRANTEL_EXEDIR%", Source::LauncherDirectory},
    {"%ZELKOR_TEMPDIR%", Source::TempDirectory},
    {"%BRANTEL_TEMPDIR%", Source::TempDirectory},
    {"%ZELKOR_PATHLIST_SEPARATOR%", Source::PathListSeparator},
    {"%BRANTEL_PATHLIST_SEPARATOR%", Source::PathListSeparator},
    {"%ZELKOR_JVM_HOME%", Source::JvmHome},
    {"%BRANTEL_JVM_HOME%", Source::JvmHome},
    {"${ZELKOR_EXEDIR}", Source::LauncherDirectory},
    {"${BRANTEL_EXEDIR}", Source::LauncherDirectory},
    {"${ZELKOR_TEMPDIR}", Source::TempDirectory},
    {"${BRANTEL_TEMPDIR}", Source::TempDirectory},
    {"${ZELKOR_PATHLIST_SEPARATOR}", Source::PathListSeparator},
    {"${BRANTEL_PATHLIST_SEPARATOR}", Source::PathListSeparator},
    {"${ZELKOR_JVM_HOME}", Source::JvmHome},
    {"${BRANTEL_JVM_HOME}", Source::JvmHome},
    {"${launcher:sys.launcherDirectory}", Source::LauncherDirectory},
    {"${launcher:sys.launcherTempDirectory}", Source::TempDirectory},
    {"${launcher:sys.pathlistSeparator}", Source::PathListSeparator},
    {"${launcher:sys.jvmHome}", Source::JvmHome},
    {"${launcher:sys.tempDir}", Source::SystemTempDirectory},
};

std::string_view valueOf(Source source, const ExpansionValues& values) {
    switch (source) {
        case Source::LauncherDirectory: return values.launcherDirectory;
        case Source::TempDirectory: return values.tempDirectory;
        case Source::PathListSeparator: return kPathListSeparator;
        case Source::JvmHome: return values.jvmHome;
        case Source::SystemTempDirectory: return values.systemTempDirectory;
    }
    return {};
}

// Only a to z: the environment's own names are compared byte for byte, and a
// locale-dependent mapping would make the same launcher behave differently
// from one machine to the next.
std::string withAsciiCapitals(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

int capacityForLog(size_t capacity) { return capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity); }

}  // namespace

bool replaceAll(std::string& text, std::string_view placeholder, std::string_view value, size_t capacity) {
    // An empty placeholder matches everywhere and, with an empty value, would
    // never move the search forward.
    if (placeholder.empty()) return true;
    bool allReplaced = true;
    size_t pos = 0;
    while ((pos = text.find(placeholder, pos)) != std::string::npos) {
        const size_t newLength = text.size() - placeholder.size() + value.size();
        // The terminator needs the last byte of the caller's buffer.
        if (newLength >= capacity) {
            logError("expanding %.*s would exceed %d bytes; left unexpanded", static_cast<int>(placeholder.size()),
                     placeholder.data(), capacityForLog(capacity));
            allReplaced = false;
            pos += placeholder.size();
            continue;
        }
        text.replace(pos, placeholder.size(), value);
        logMessage("expanding %.*s to %.*s in %s.", static_cast<int>(placeholder.size()), placeholder.data(),
                   static_cast<int>(value.size()), value.data(), text.c_str());
        pos += value.size();
    }
    return allReplaced;
}

void expandText(std::string& text, const ExpansionValues& values, size_t capacity) {
    for (const LauncherPlaceholder& step : kLauncherPlaceholders)
        replaceAll(text, step.placeholder, valueOf(step.source, values), capacity);

    for (const std::string& entry : values.environment) {
        const size_t equals = entry.find('=');
        if (equals == std::string::npos) continue;
        const std::string_view value = std::string_view(entry).substr(equals + 1);
        const std::string placeholder = "${" + entry.substr(0, equals) + "}";
        replaceAll(text, placeholder, value, capacity);
        // The capitalised form gets its own pass only when it differs: the pass
        // restarts at the beginning of the text, so repeating an identical
        // placeholder would find the references inside the values just
        // inserted, and A=x${A} would give xx${A} instead of expanding once.
        const std::string capitalised = withAsciiCapitals(placeholder);
        if (capitalised != placeholder) replaceAll(text, capitalised, value, capacity);
    }
}
