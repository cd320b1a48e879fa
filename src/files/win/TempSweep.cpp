#include "files/TempSweep.h"

#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "files/TempDirectory.h"
#include "files/TempNames.h"
#include "log/Log.h"

namespace {

// Deep enough for anything an application writes below its temporary directory.
constexpr int kSweepLevels = 8;

// The owner holds its reservation open for writing, so opening it while
// denying write access fails for as long as the owner lives.
bool ownerHasEnded(const std::string& reservation) {
    const FileHandle file(systemCalls().createFile(reservation.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char mark[kOwnerMark.size() + 1];
    DWORD count = 0;
    return systemCalls().readFile(file.get(), mark, sizeof mark, &count, nullptr) &&
           std::string_view(mark, count) == kOwnerMark;
}

// A directory that could not be removed whole keeps a mark of an ended
// owner, so that a later start tries again.
void markForRetry(const std::string& reservation) {
    const FileHandle file(systemCalls().createFile(reservation.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) systemCalls().writeFile(file.get(), kOwnerMark.data(), kOwnerMark.size(), &written, nullptr);
}

}  // namespace

int sweepLeftoverTempDirectories(const std::string& base) {
    WIN32_FIND_DATAA entry;
    const FindHandle found(::FindFirstFileA((base + kTempDirPattern).c_str(), &entry));
    if (!found) return 0;
    int examined = 0, removed = 0;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        ++examined;
        const std::string directory = base + entry.cFileName;
        const std::string reservation = reservationFileOf(directory);
        // Deleting the reservation first settles it: a new launcher that gets
        // its name makes a directory of another name.
        if (reservation.empty() || !ownerHasEnded(reservation) || !systemCalls().deleteFile(reservation.c_str()))
            continue;
        logMessage("removing %s, left by a launcher that has ended", directory.c_str());
        emptyDirectory(directory, kSweepLevels);
        if (systemCalls().removeDirectory(directory.c_str())) {
            ++removed;
        } else {
            markForRetry(reservation);
        }
    } while (examined < kSweepLimit && ::FindNextFileA(found.get(), &entry));
    logMessage("swept %d of %d temporary directories looked at", removed, examined);
    return removed;
}
