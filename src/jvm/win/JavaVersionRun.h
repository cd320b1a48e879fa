#pragma once

#include "jvm/CandidateCheck.h"

#include <string>

// How long a "-version" run may take before the runtime counts as hung.
inline constexpr unsigned long kVersionRunTimeoutMs = 60000;

// Runs the runtime at `normalisedPath` hidden with "-version", its standard
// error (where the banner goes) in a fresh temporary file, and reads the
// version from the first line. A run still going after `timeoutMs` is
// terminated. The temporary file is removed on every path.
VersionRun runJavaVersion(const std::string& normalisedPath, unsigned long timeoutMs = kVersionRunTimeoutMs);
