#pragma once

#include <string>

// Deletes the files in `path` and empties and removes its sub-directories
// `levels` deep (0: files only). A link to a directory elsewhere is removed,
// never entered. A relative path ("." or "..") or an empty one is never
// touched. Failures are ignored.
void emptyDirectory(const std::string& path, int levels);
