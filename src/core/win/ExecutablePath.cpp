#include "core/win/ExecutablePath.h"

#include "core/PathText.h"
#include "core/WinApi.h"

#include <string>

namespace {

constexpr DWORD kPathCapacity = 8192;

struct OwnPath {
    std::string ansi;
    std::wstring wide;
};

// Converts with the code page the file functions use; false when a character
// had no representation.
bool toFileApiCodePage(const std::wstring& wide, std::string& out) {
    const UINT codePage = ::AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    char buffer[kPathCapacity];
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(codePage, 0, wide.c_str(), -1, buffer, kPathCapacity, "?", &usedDefault);
    out.assign(buffer, length > 0 ? static_cast<size_t>(length - 1) : 0);
    return usedDefault == FALSE && length > 0;
}

bool usableAnsiPath(const std::wstring& wide, std::string& out) {
    return toFileApiCodePage(wide, out) && out.size() >= 4 && hasExeExtension(out);
}

std::wstring longModulePath() {
    wchar_t module[kPathCapacity];
    const DWORD moduleLength = ::GetModuleFileNameW(nullptr, module, kPathCapacity);
    wchar_t longPath[kPathCapacity];
    const DWORD longLength = ::GetLongPathNameW(module, longPath, kPathCapacity);
    if (longLength == 0 || longLength >= kPathCapacity) return std::wstring(module, moduleLength);
    return std::wstring(longPath, longLength);
}

OwnPath computeOwnPath() {
    OwnPath path;
    path.wide = longModulePath();
    if (!usableAnsiPath(path.wide, path.ansi)) {
        wchar_t shortPath[kPathCapacity];
        const DWORD shortLength = ::GetShortPathNameW(path.wide.c_str(), shortPath, kPathCapacity);
        const bool shortUsable = shortLength > 0 && shortLength < kPathCapacity &&
                                 usableAnsiPath(std::wstring(shortPath, shortLength), path.ansi);
        if (!shortUsable) {
            char module[kPathCapacity];
            ::GetModuleFileNameA(nullptr, module, kPathCapacity);
            char shortAnsi[kPathCapacity];
            const DWORD length = ::GetShortPathNameA(module, shortAnsi, kPathCapacity);
            path.ansi.assign(shortAnsi, length < kPathCapacity ? length : 0);
        }
    }
    collapseBackslashRuns(path.ansi);
    std::u16string wide(path.wide.begin(), path.wide.end());
    collapseBackslashRuns(wide);
    path.wide.assign(wide.begin(), wide.end());
    return path;
}

const OwnPath& ownPath() {
    // First used on the main thread while the configuration loads.
    static const OwnPath path = computeOwnPath();
    return path;
}

}  // namespace

const char* executablePath() { return ownPath().ansi.c_str(); }

const wchar_t* executablePathWide() { return ownPath().wide.c_str(); }
