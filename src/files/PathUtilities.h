#pragma once

#include <string>

// `path` resolved against the launcher's directory when relative, made a full
// path with GetFullPathName, lower-cased unless `keepCase`, backslash runs
// collapsed.
std::string fullPath(const std::string& path, bool keepCase);
