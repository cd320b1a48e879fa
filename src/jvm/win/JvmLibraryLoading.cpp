#include "jvm/win/JvmLibraryLoading.h"

#include "log/Log.h"
#include "files/PathUtilities.h"
#include "jvm/JvmPaths.h"
#include "core/win/ModuleFunction.h"
#include "core/win/SystemFailure.h"

#include <cstdlib>
#include <optional>

namespace {

// PATH as the process and the C runtime see it.
void setPathVariable(const std::string& value) {
    if (::SetEnvironmentVariableA("PATH", value.c_str())) {
        logMessage("Setting PATH %s", value.c_str());
    } else {
        logSystemFailure("Setting PATH %s failed with error %d", value.c_str());
    }
    const std::string assignment = "PATH=" + value;
    ::_putenv(assignment.c_str());
}

// The current PATH; nothing when it does not fit the buffer (it is then
// left alone rather than cut).
std::optional<std::string> currentPath() {
    char value[kPathVariableCapacity];
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableA("PATH", value, kPathVariableCapacity);
    if (length >= kPathVariableCapacity) return std::nullopt;
    return std::string(value, length);
}

HMODULE tryJvmLibrary(const std::string& library) {
    const bool exists = pathExists(library);
    logMessage("Trying %s (exists %d)", library.c_str(), exists ? 1 : 0);
    const HMODULE handle = ::LoadLibraryA(library.c_str());
    if (handle == nullptr && exists) {
        logSystemFailure("Failed with error code %d");
    }
    return handle;
}

HMODULE loadJvmLibraryFromBin(const std::string& binDirectory) {
    const std::optional<std::string> oldPath = currentPath();
    const std::optional<std::string> newPath =
        oldPath ? pathWithBinDirectory(*oldPath, binDirectory) : std::nullopt;
    if (newPath) {
        setPathVariable(*newPath);
    } else {
        logError("PATH left unchanged: it would not hold %s", binDirectory.c_str());
    }

    HMODULE library = nullptr;
    for (const std::string& path : jvmLibraryPaths(binDirectory)) {
        library = tryJvmLibrary(path);
        if (library != nullptr) break;
    }
    if (library == nullptr && newPath) setPathVariable(*oldPath);
    return library;
}

}  // namespace

HMODULE loadJvmLibrary(const std::string& javaExe) {
    for (const std::string& binDirectory : jvmLibraryBinDirectories(javaExe))
        if (const HMODULE library = loadJvmLibraryFromBin(binDirectory)) return library;
    return nullptr;
}

CreateJavaVmEntry createJavaVmEntryOf(HMODULE library) {
    if (library == nullptr) return nullptr;
    return moduleFunction<CreateJavaVmEntry>(library, "JNI_CreateJavaVM");
}
