#pragma once

#include "jvm/SearchSequence.h"

// The runtime search with the launcher's own sources: the configured
// sequence (key 128) and limits (keys 126, 127), the location files below the
// installation directory (key 10003), the candidate check, the registry and
// the environment.
SearchResult findJavaRuntime();
