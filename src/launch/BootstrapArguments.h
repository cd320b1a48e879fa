#pragma once

// The arguments of the bootstrap class's main: five that describe the launch,
// the program word, the configured application arguments and the user's.

#include <string>
#include <vector>

struct BootstrapFacts {
    bool guiLauncher = false;      // key 107 is 1
    std::u16string mainClass;      // key 122
    std::u16string errorLog;       // empty unless passed (keys 102, 103)
    std::u16string outputLog;      // empty unless passed (keys 104, 105)
    bool fifthArgument = false;    // key 106
    std::u16string configuredArguments;  // key 124, expanded
};

// `launcherArguments` element 0 is the program word (the service name in the
// service launcher); the rest are routed as the "-J" rule says.
std::vector<std::u16string> bootstrapArguments(const BootstrapFacts& facts,
                                               const std::vector<std::u16string>& launcherArguments,
                                               bool dashJIsJvm);

// The bootstrap class of a flavour, in JNI form.
const char* bootstrapClassName(char flavor);
