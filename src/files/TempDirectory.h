#pragma once

#include <string>

// The launcher's temporary directory: empty while none exists. It belongs to
// the launching process and is removed on every exit through exitLauncher.
extern std::string tempDir;

// Deletes the files in `path` and, with `descend`, empties and removes its
// sub-directories one level deep. A relative path ("." or "..") or an empty
// one is never touched. Failures are ignored.
void emptyDirectory(const std::string& path, bool descend);

// Empties and removes `tempDir` when there is one.
void removeTempDirectory();
