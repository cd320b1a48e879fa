#pragma once

#include "core/win/Handles.h"

#include <string>

// Removes a directory with everything below it, for tests cleaning up after
// themselves (the launcher's own removal stops one level down, on purpose).
inline void removeTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    FindHandle found(::FindFirstFileA((path + "\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(found); more; more = ::FindNextFileA(found.get(), &entry)) {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = path + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            removeTree(child);
        } else {
            ::DeleteFileA(child.c_str());
        }
    }
    found.reset();
    ::RemoveDirectoryA(path.c_str());
}
