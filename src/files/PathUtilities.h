#pragma once

#include <string>

// Path utilities over narrow paths (in the file API code page), bounded by kBufferCapacity
// characters like every path buffer of the launcher.

// The launcher's directory with its trailing backslash, e.g. "C:\Apps\"
// (computed once).
const std::string& launcherDirectory();

// FindFirstFile finds the path; `lastWriteTime` (a FILETIME, may be null)
// receives its last write time. When not found, the thread's last error is
// FindFirstFile's (ERROR_PATH_NOT_FOUND: a directory on the way is missing).
bool findPath(const std::string& path, void* lastWriteTime = nullptr);

// A drive root ("C:\", "C:\.", "C:\.\.") exists without a look-up; anything
// else exists when findPath finds it.
bool pathExists(const std::string& path);

// Runs of backslashes after the first character become one, through a wide
// conversion in the file functions' code page; a text with characters that
// have no representation is kept unconverted.
std::string collapseBackslashes(const std::string& path);

// A relative `path` prefixed with the directory of `baseFile` (or of the
// launcher when `baseFile` is null), then collapsed; an absolute path is only
// collapsed.
std::string resolvePath(const std::string& path, const char* baseFile = nullptr);

// resolvePath, GetFullPathName, lower-cased unless `keepCase`, collapsed.
std::string fullPath(const std::string& path, bool keepCase);

// Every ";"-separated entry resolved against the launcher's directory (empty
// entries dropped), joined with ";".
std::string resolvePathList(const std::string& list);
