#pragma once

#include "core/win/Handles.h"

// Opens the launcher's own executable for reading (shared for reading and
// writing); an empty handle when that fails (logged).
FileHandle openOwnExecutable();
