#include "files/PathUtilities.h"

#include "core/PathText.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "core/win/Win32Text.h"

#include <string>

namespace {

// The text after the last backslash cut off; "" when there is none.
std::string directoryPart(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fullPathName(const std::string& path) {
    return boundedTextOr(
        [&path](char* buffer, DWORD capacity) { return ::GetFullPathNameA(path.c_str(), capacity, buffer, nullptr); },
        path);
}

}  // namespace

const std::string& launcherDirectory() {
    // Asked for on the main thread only (the service threads never resolve
    // paths); no guard (-fno-threadsafe-statics).
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
    std::u16string wide = pathToUtf16(path);
    if (wide.empty()) return path;
    collapseBackslashRuns(wide);
    std::string collapsed;
    return utf16ToPath(wide, collapsed) ? collapsed : path;
}

std::string resolvePath(const std::string& path, const char* baseFile) {
    if (!isRelativePath(path)) return collapseBackslashes(path);
    const std::string base = baseFile == nullptr ? launcherDirectory() : directoryPart(fullPathName(baseFile));
    return collapseBackslashes((base + path).substr(0, kBufferCapacity - 1));
}

std::string fullPath(const std::string& path, bool keepCase) {
    std::string result = fullPathName(resolvePath(path));
    if (!keepCase) {
        // Lower-cased through UTF-16, so that characters of the code page fold too.
        std::u16string wide = pathToUtf16(result);
        ::CharLowerBuffW(reinterpret_cast<wchar_t*>(wide.data()), static_cast<DWORD>(wide.size()));
        std::string lowered;
        if (!wide.empty() && utf16ToPath(wide, lowered)) result = lowered;
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
