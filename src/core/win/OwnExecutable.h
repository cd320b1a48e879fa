#pragma once

#include "core/win/Handles.h"

// Opens the launcher's own executable for reading (shared for reading and
// writing). Ends the launcher with the "Error opening media file" message
// when that fails.
FileHandle openOwnExecutable();
