#pragma once

#include <string>

// The launcher's temporary directory (tempDir() of LauncherState.h) belongs to
// the launching process: once created it is removed on every exit through
// exitLauncher.

// Empties and removes `tempDir` when there is one, and then the file that
// reserved its name; once done, there is no `tempDir`. A directory that
// could not be removed whole (files the runtime still holds) keeps its
// reservation, marked, for the sweep of a later start.
void removeTempDirectory();

// The base temporary path, with a trailing backslash, with the fallbacks for
// unusable temporary paths; ends the launcher with message 1015 when none is
// usable.
std::string findTempPath();

// A directory in which a sub-directory can be created and seen.
bool isWritableDir(const std::string& path);

// A unique file name in the base temporary path (or in `base`, a base
// temporary path found before); GetTempFileName creates the (empty) file,
// which reserves the name and stays.
std::string makeTempFileName();
std::string makeTempFileName(const std::string& base);

// The single-instance communication file of process `processId`.
std::string makeCommFileName(unsigned long processId);

// Sweeps what ended launchers left in the base temporary path, then creates
// a fresh, uniquely named `tempDir` (10 attempts), holds its marked
// reservation for the rest of the process and registers its removal as an
// exit action; false (and `tempDir` empty) when none could be made.
bool createTempDir();
