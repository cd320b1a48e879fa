#pragma once

// The system properties that describe the launcher to the Java side: the
// first JVM options, in a fixed order, each present only when its condition
// holds.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LauncherFacts {
    std::optional<std::string> semaphoreName;  // absent when no instance check ran
    bool brantel = false;
    bool service = false;
    std::string modulePath;                    // the launcher's own path
    std::optional<std::string> commFile;       // single-instance mode only
    std::string tempDir;                       // empty when nothing was extracted
    int32_t unextractedPosition = 0;           // -1 after a language restart
    std::string libraryPath;                   // PATH; empty when it does not fit
    std::optional<uint32_t> consoleCodePage;   // absent when MANPATH is set
};

// A property value beyond the launcher's 8192-byte option buffer is cut there.
std::vector<std::string> launcherProperties(const LauncherFacts& facts);

// PATH as java.library.path: longer than this, the property stays empty.
inline constexpr size_t kLibraryPathCapacity = 8171;
