#pragma once

#include <string>

// A Java runtime shipped with its jars packed: a home that holds packed jars
// ("lib\rt.jar.pack", ...) but no finished "lib\jsse.jar" is unpacked in
// place before it is checked. Does nothing for any other home; ends the
// launcher only when the unpack tool cannot be started.
//
// One launcher at a time unpacks a home; another one that finds it busy
// waits for it (a few minutes at most) and then finds the jars in place.
void preparePackedRuntime(const std::string& home);

enum class UnpackOutcome {
    Unpacked,        // the jar was written; its pack is gone
    NoPack,          // nothing to unpack
    Failed,          // the tool failed: the pack is kept, a partial jar removed
    ToolNotStarted,  // the caller ends the launcher, after letting go of what it holds
};

// Unpacks one pack file of `home` with the home's own unpack tool; the jar is
// the pack's path without ".pack".
UnpackOutcome unpackJar(const std::string& home, const std::string& pack);

// The name of the mutex held while `home` is prepared; every spelling of one
// home (letter case, separators, a trailing backslash) gives the same name.
std::string homeMutexName(const std::string& home);
