#pragma once

#include <string>

// Removes the temporary directories that launchers of this family left in
// `base` (with its trailing backslash) when they ended without removing them
// themselves: killed, ended by the application's System.exit, or with files
// the runtime still held. Only a directory whose owner has provably ended is
// touched (see kOwnerMark). Reservations without the mark are passed over
// from the directory listing alone, and at most kSweepLimit marked ones are
// looked at per call, so that a crowded temporary path does not slow a
// start. Returns how many reservations were settled with all their
// directories removed.
inline constexpr int kSweepLimit = 32;
int sweepLeftoverTempDirectories(const std::string& base);
