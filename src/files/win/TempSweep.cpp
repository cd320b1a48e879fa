#include "files/TempSweep.h"

#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "files/DirectoryEmptying.h"
#include "files/TempNames.h"
#include "log/Log.h"

#include <vector>

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

// The directories named after `reservation`, listed before the reservation
// goes: a launcher that gets its name afterwards makes a directory that is
// not among them.
std::vector<std::string> directoriesOf(const std::string& reservation) {
    std::vector<std::string> directories;
    WIN32_FIND_DATAA entry;
    const FindHandle found(::FindFirstFileA((reservation + "_dir*").c_str(), &entry));
    for (bool more = static_cast<bool>(found); more; more = ::FindNextFileA(found.get(), &entry)) {
        const std::string path = reservation.substr(0, reservation.rfind('\\') + 1) + entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && reservationFileOf(path) == reservation)
            directories.push_back(path);
    }
    return directories;
}

// A directory that could not be removed whole keeps a mark of an ended
// owner, so that a later start tries again.
void markForRetry(const std::string& reservation) {
    const FileHandle file(systemCalls().createFile(reservation.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) systemCalls().writeFile(file.get(), kOwnerMark.data(), kOwnerMark.size(), &written, nullptr);
}

// Removes what the ended owner of `reservation` left; false when something
// stayed or another start got there first.
bool removeLeftovers(const std::string& reservation) {
    const std::vector<std::string> directories = directoriesOf(reservation);
    if (!systemCalls().deleteFile(reservation.c_str())) return false;  // another start is settling it
    bool whole = true;
    for (const std::string& directory : directories) {
        logMessage("removing %s, left by a launcher that has ended", directory.c_str());
        emptyDirectory(directory, kSweepLevels);
        whole = systemCalls().removeDirectory(directory.c_str()) && whole;
    }
    if (!whole) markForRetry(reservation);
    return whole;
}

}  // namespace

int sweepLeftoverTempDirectories(const std::string& base) {
    WIN32_FIND_DATAA entry;
    const FindHandle found(::FindFirstFileA((base + kTempNamePattern).c_str(), &entry));
    int examined = 0, removed = 0;
    for (bool more = static_cast<bool>(found); more && examined < kSweepLimit;
         more = ::FindNextFileA(found.get(), &entry)) {
        // The listing's size sorts out everything unmarked without opening it.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.nFileSizeHigh != 0 ||
            entry.nFileSizeLow != kOwnerMark.size())
            continue;
        ++examined;
        const std::string reservation = base + entry.cFileName;
        if (ownerHasEnded(reservation) && removeLeftovers(reservation)) ++removed;
    }
    logMessage("swept %d of %d marked temporary reservations", removed, examined);
    return removed;
}
