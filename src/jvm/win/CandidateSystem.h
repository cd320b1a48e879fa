#pragma once

#include "jvm/CandidateCheck.h"
#include "jvm/win/JavaVersionRun.h"

// The candidate check's view of Windows: the launcher's path utilities, the
// version cache in the registry and the "-version" child, whose time-out tests
// can shorten.
CandidateSystem windowsCandidateSystem(unsigned long versionRunTimeoutMs = kVersionRunTimeoutMs);
