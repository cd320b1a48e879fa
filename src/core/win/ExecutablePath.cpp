#include "core/win/ExecutablePath.h"

#include "core/PathText.h"
#include "core/win/Win32Text.h"

#include <string>

namespace {

struct OwnPath {
    std::string ansi;
    std::u16string wide;
};

bool usableAnsiPath(std::u16string_view wide, std::string& out) {
    return utf16ToPath(wide, out) && out.size() >= 4 && hasExeExtension(out);
}

std::u16string longModulePath() {
    const std::optional<std::u16string> module = boundedWideText(
        [](wchar_t* buffer, DWORD capacity) { return ::GetModuleFileNameW(nullptr, buffer, capacity); });
    if (!module) return {};
    return boundedWideTextOr(
        [&module](wchar_t* buffer, DWORD capacity) { return ::GetLongPathNameW(asWide(*module), buffer, capacity); },
        *module);
}

// The ANSI form when the long path has no such form: the 8.3 name of the
// wide path, or else the 8.3 name of what the ANSI module name gives.
std::string shortAnsiPath(const std::u16string& wide) {
    std::string ansi;
    const std::optional<std::u16string> shortWide = boundedWideText([&wide](wchar_t* buffer, DWORD capacity) {
        return ::GetShortPathNameW(asWide(wide), buffer, capacity);
    });
    if (shortWide && usableAnsiPath(*shortWide, ansi)) return ansi;
    const std::string module = boundedTextOr(
        [](char* buffer, DWORD capacity) { return ::GetModuleFileNameA(nullptr, buffer, capacity); }, "");
    return boundedTextOr(
        [&module](char* buffer, DWORD capacity) { return ::GetShortPathNameA(module.c_str(), buffer, capacity); }, "");
}

OwnPath computeOwnPath() {
    OwnPath path;
    path.wide = longModulePath();
    if (!usableAnsiPath(path.wide, path.ansi)) path.ansi = shortAnsiPath(path.wide);
    collapseBackslashRuns(path.ansi);
    collapseBackslashRuns(path.wide);
    return path;
}

const OwnPath& ownPath() {
    // First used on the main thread while the configuration loads; no other
    // thread asks for it, and it has no guard (-fno-threadsafe-statics).
    static const OwnPath path = computeOwnPath();
    return path;
}

}  // namespace

const char* executablePath() { return ownPath().ansi.c_str(); }

const wchar_t* executablePathWide() { return asWide(ownPath().wide); }
