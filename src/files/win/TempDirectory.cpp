#include "files/TempDirectory.h"

#include "core/WinApi.h"
#include "core/win/Handles.h"
#include "diag/Log.h"

#include <cstring>

std::string tempDir;

void emptyDirectory(const std::string& path, bool descend) {
    if (path.empty() || path.front() == '.') return;
    logMessage("emptying %s", path.c_str());
    const std::string prefix = path.back() == '\\' ? path : path + "\\";
    WIN32_FIND_DATAA entry;
    FindHandle enumeration(::FindFirstFileA((prefix + "*.*").c_str(), &entry));
    if (!enumeration) return;
    do {
        if (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0) continue;
        const std::string child = prefix + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            logMessage("attempting to remove %s (%d)", child.c_str(), descend ? 1 : 0);
            if (descend) emptyDirectory(child, false);
            ::RemoveDirectoryA(child.c_str());
        } else {
            logMessage("attempting to delete %s", child.c_str());
            ::DeleteFileA(child.c_str());
        }
    } while (::FindNextFileA(enumeration.get(), &entry));
}

void removeTempDirectory() {
    if (tempDir.empty()) return;
    emptyDirectory(tempDir, true);
    ::RemoveDirectoryA(tempDir.c_str());
}
