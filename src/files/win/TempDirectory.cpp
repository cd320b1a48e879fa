#include "files/TempDirectory.h"

#include "core/ConfigKeys.h"
#include "core/LauncherState.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32Text.h"
#include "core/win/SystemFailure.h"
#include "diag/ErrorReport.h"
#include "diag/ExitActions.h"
#include "log/Log.h"
#include "files/DirectoryEmptying.h"
#include "files/PathUtilities.h"
#include "files/TempNames.h"
#include "files/TempSweep.h"

#include <direct.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// The reservation of this process's temporary directory, open for writing
// without delete sharing until the directory is removed or the process ends.
FileHandle heldReservation;

// Marks the reservation as this launcher's and holds it (see kOwnerMark).
// Without the hold the directory is still used, only never swept.
void holdReservation(const std::string& reservation) {
    FileHandle file(systemCalls().createFile(reservation.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !systemCalls().writeFile(file.get(), kOwnerMark.data(), kOwnerMark.size(), &written, nullptr)) {
        logSystemFailure("could not hold %s (%d)", reservation.c_str());
        return;
    }
    heldReservation = std::move(file);
}

}  // namespace

void removeTempDirectory() {
    const std::string directory = tempDir();
    if (directory.empty()) return;
    emptyDirectory(directory, 1);
    const bool removed = systemCalls().removeDirectory(directory.c_str());
    if (!removed) logSystemFailure("%s stays for a later start (%d)", directory.c_str());
    heldReservation.reset();
    // The file that reserved the directory's name has served its purpose
    // once the directory is gone; until then it is the proof for the sweep.
    const std::string reservation = reservationFileOf(directory);
    if (removed && !reservation.empty()) systemCalls().deleteFile(reservation.c_str());
    setTempDir({});
}

namespace {

std::string withTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

std::string windowsDirectory() {
    return boundedTextOr([](char* buffer, DWORD capacity) { return ::GetWindowsDirectoryA(buffer, capacity); }, "");
}

// Where the temporary path holds characters that the ANSI code page cannot
// express, the first writable of these serves instead.
std::string fallbackTempPath() {
    const std::string windows = windowsDirectory();
    for (const std::string& candidate : {windows + "\\temp", std::string("c:\\temp"), std::string("c:\\tmp"), windows}) {
        if (!candidate.empty() && isWritableDir(candidate)) return candidate;
    }
    if (isWritableDir("c:\\")) {
        _mkdir("c:\\tmp");
        if (isWritableDir("c:\\tmp")) return "c:\\tmp";
    }
    return {};
}

}  // namespace

std::string findTempPath() {
    char path[kBufferCapacity] = "";
    const DWORD length = systemCalls().getTempPath(kBufferCapacity, path);
    logMessage("GetTempPath returned %d (last error %d)", static_cast<int>(length), static_cast<int>(::GetLastError()));
    std::string result = length < kBufferCapacity ? path : "";
    if (result.empty()) {
        // Like the other temporary paths, the home directory gets its
        // trailing backslash: names are formed by appending to it.
        const std::string home = environmentValue("HOMEDRIVE").value_or("") + environmentValue("HOMEPATH").value_or("");
        result = withTrailingBackslash(home.substr(0, kBufferCapacity - 2));
        logMessage("No temp dir defined. Using home %s", result.c_str());
    } else if (length > 0) {
        logMessage("make dir returned %d", _mkdir(result.c_str()) == 0 ? 0 : -1);
    }
    if (const auto longPath = boundedText([&result](char* buffer, DWORD capacity) {
            return ::GetLongPathNameA(result.c_str(), buffer, capacity);
        }))
        result = withTrailingBackslash(*longPath);
    if (result.find('?') == std::string::npos) return result;

    // The fallbacks get a trailing backslash like the normal temporary path,
    // so that names formed by appending to it land inside the directory.
    const std::string fallback = fallbackTempPath();
    if (fallback.empty()) fatalConfiguredError(config::kMessageNeedsPowerUser, nullptr);
    return withTrailingBackslash(fallback);
}

bool isWritableDir(const std::string& path) {
    const std::string probe = path + "\\zkr_w_testdir";
    _rmdir(probe.c_str());
    if (_mkdir(probe.c_str()) != 0) return false;
    const bool seen = pathExists(probe);
    _rmdir(probe.c_str());
    return seen;
}

std::string makeTempFileName() { return makeTempFileName(findTempPath()); }

std::string makeTempFileName(const std::string& base) {
    logMessage("tempPath is %s", base.c_str());
    char name[kBufferCapacity];
    if (systemCalls().getTempFileName(base.c_str(), "zkr", 0, name) == 0) {
        logSystemFailure("GetTempFileName failed (last error %d)");
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        std::snprintf(name, sizeof name, "%szkr%d", base.c_str(), std::rand());
    }
    logMessage("tempFile is %s", name);
    return name;
}

std::string makeCommFileName(unsigned long processId) {
    char name[kBufferCapacity];
    std::snprintf(name, sizeof name, "%szkr_p%lu.tmp", findTempPath().c_str(), processId);
    return name;
}

bool createTempDir() {
    const std::string base = findTempPath();
    sweepLeftoverTempDirectories(base);
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::string file = makeTempFileName(base);
        holdReservation(file);
        char directory[kBufferCapacity];
        std::snprintf(directory, sizeof directory, "%s_dir%d", file.c_str(), static_cast<int>(std::time(nullptr)));
        setTempDir(directory);
        logMessage("Temp dir: %s", directory);
        if (systemCalls().createDirectory(directory, nullptr)) {
            // From now on every way out through exitLauncher removes it.
            addExitAction(removeTempDirectory);
            return true;
        }
        logSystemFailure("Could not create dir (%d)");
        heldReservation.reset();
    }
    setTempDir({});
    return false;
}
