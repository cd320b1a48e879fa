#include "files/DirectoryEmptying.h"

#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "log/Log.h"

#include <cstring>

void emptyDirectory(const std::string& path, int levels) {
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
            const bool descend = levels > 0 && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
            logMessage("attempting to remove %s (%d)", child.c_str(), descend ? 1 : 0);
            if (descend) emptyDirectory(child, levels - 1);
            systemCalls().removeDirectory(child.c_str());
        } else {
            logMessage("attempting to delete %s", child.c_str());
            systemCalls().deleteFile(child.c_str());
        }
    } while (::FindNextFileA(enumeration.get(), &entry));
}
