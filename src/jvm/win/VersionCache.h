#pragma once

#include "jvm/CandidateCheck.h"

#include <optional>
#include <string>

// The version cache: one key per runtime below HKEY_CURRENT_USER (see
// versionCacheKeyName), in the process's own registry view, so that the 32-bit
// and the 64-bit launcher each keep theirs. "LastWriteTime" is a REG_BINARY of
// exactly 8 bytes (the FILETIME, little-endian), "Version" a REG_SZ handed to
// the registry with the text's length, without a terminator. Keys are created
// and overwritten, never removed.

// The cached version of the runtime at `normalisedPath` when the entry was
// written for exactly `lastWriteTime`. A value of another type or length, a
// version that does not fit a path buffer, or any registry failure is no hit.
std::optional<std::string> readCachedVersion(const std::string& normalisedPath, FileTimeStamp lastWriteTime);

// Creates or overwrites the entry. Failures are ignored: the runtime is then
// simply run again at its next check.
void writeCachedVersion(const std::string& normalisedPath, FileTimeStamp lastWriteTime, const std::string& version);
