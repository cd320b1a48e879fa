#pragma once

#include "core/PeImage.h"

#include <string>

// Opens the file for reading, sharing everything, and reads the machine from
// its leading bytes: one open answers both whether it is there and what it is.
FileMachine peFileMachine(const std::string& path);
