#include "files/PathUtilities.h"

#include "core/PathText.h"
#include "core/WinApi.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"

#include <string>

namespace {

constexpr DWORD kPathCapacity = 8192;

UINT fileApiCodePage() { return ::AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

// The text after the last backslash cut off; "" when there is none.
std::string directoryPart(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

const std::string& launcherDirectory() {
    static const std::string directory = directoryPart(executablePath());
    return directory;
}

bool findPath(const std::string& path, void* lastWriteTime) {
    WIN32_FIND_DATAA entry;
    FindHandle found(::FindFirstFileA(path.c_str(), &entry));
    if (!found) return false;
    if (lastWriteTime != nullptr) *static_cast<FILETIME*>(lastWriteTime) = entry.ftLastWriteTime;
    return true;
}

bool pathExists(const std::string& path) {
    if (isDriveRoot(path)) return true;
    return findPath(path);
}

std::string collapseBackslashes(const std::string& path) {
    const UINT codePage = fileApiCodePage();
    wchar_t wide[kPathCapacity];
    const int wideLength = ::MultiByteToWideChar(codePage, 0, path.c_str(), -1, wide, kPathCapacity);
    if (wideLength <= 0) return path;
    std::u16string text(reinterpret_cast<const char16_t*>(wide), static_cast<size_t>(wideLength - 1));
    collapseBackslashRuns(text);
    char narrow[kPathCapacity];
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(text.c_str()), -1, narrow,
                                             kPathCapacity, "?", &usedDefault);
    if (length <= 0 || usedDefault) return path;
    return std::string(narrow, static_cast<size_t>(length - 1));
}

std::string resolvePath(const std::string& path, const char* baseFile) {
    if (!isRelativePath(path)) return collapseBackslashes(path);
    std::string base;
    if (baseFile == nullptr) {
        base = launcherDirectory();
    } else {
        char full[kPathCapacity];
        const DWORD length = ::GetFullPathNameA(baseFile, kPathCapacity, full, nullptr);
        base = directoryPart(length > 0 && length < kPathCapacity ? std::string(full, length) : baseFile);
    }
    return collapseBackslashes((base + path).substr(0, kPathCapacity - 1));
}

std::string fullPath(const std::string& path, bool keepCase) {
    const std::string resolved = resolvePath(path);
    char full[kPathCapacity];
    const DWORD length = ::GetFullPathNameA(resolved.c_str(), kPathCapacity, full, nullptr);
    std::string result = length > 0 && length < kPathCapacity ? std::string(full, length) : resolved;
    if (!keepCase) {
        // Lower-cased through UTF-16, so that characters of the code page fold too.
        wchar_t wide[kPathCapacity];
        const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, result.c_str(), -1, wide, kPathCapacity);
        if (wideLength > 0) {
            ::CharLowerBuffW(wide, static_cast<DWORD>(wideLength - 1));
            char narrow[kPathCapacity];
            BOOL usedDefault = FALSE;
            const int length = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, kPathCapacity, "?", &usedDefault);
            if (length > 0 && !usedDefault) result.assign(narrow, static_cast<size_t>(length - 1));
        }
    }
    return collapseBackslashes(result);
}

std::string resolvePathList(const std::string& list) {
    std::string joined;
    for (const std::string& entry : splitPathList(list)) {
        if (!joined.empty()) joined += ';';
        joined += resolvePath(entry);
    }
    return joined;
}
