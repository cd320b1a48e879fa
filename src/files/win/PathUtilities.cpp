#include "files/PathUtilities.h"

#include "core/PathText.h"
#include "core/WinApi.h"
#include "core/win/ExecutablePath.h"

#include <algorithm>

namespace {

constexpr DWORD kPathCapacity = 8192;

// The launcher's directory with its trailing backslash.
const std::string& launcherDirectory() {
    static const std::string directory = [] {
        std::string path = executablePath();
        const size_t slash = path.find_last_of('\\');
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }();
    return directory;
}

}  // namespace

std::string fullPath(const std::string& path, bool keepCase) {
    std::string resolved = isRelativePath(path) ? launcherDirectory() + path : path;
    collapseBackslashRuns(resolved);
    char full[kPathCapacity];
    const DWORD length = ::GetFullPathNameA(resolved.c_str(), kPathCapacity, full, nullptr);
    std::string result = length > 0 && length < kPathCapacity ? std::string(full, length) : resolved;
    if (!keepCase) {
        ::CharLowerBuffA(result.data(), static_cast<DWORD>(result.size()));
    }
    collapseBackslashRuns(result);
    return result;
}
