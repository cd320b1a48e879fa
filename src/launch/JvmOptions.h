#pragma once

// The complete, ordered JVM option list: the launcher properties, the
// configured options (key 123, includes read in place), the "-J" arguments,
// the locale options, the default .vmoptions file and, last, the class path.

#include "launch/ClassPath.h"
#include "launch/LaunchSystem.h"
#include "launch/LauncherArguments.h"
#include "launch/VmOptions.h"

#include <memory>
#include <string>
#include <vector>

struct JvmOptionInputs {
    std::vector<std::string> launcherProperties;
    const std::vector<std::u16string>* launcherArguments = nullptr;
    std::string tempDir;
    bool brantel = false;
    // The launcher's default options file (null when none opened) and its path.
    std::unique_ptr<LineSource> defaultOptionsFile;
    std::string defaultOptionsPath;
};

struct JvmOptions {
    VmOptionList options;
    std::optional<MissingClassPathEntry> missing;  // a required class path entry
};

JvmOptions buildJvmOptions(JvmOptionInputs inputs, LaunchSystem& system, const VmOptionsEnvironment& environment,
                           const TextConverters& converters);

// Key 123 and the arguments given for the JVM: blocks two to four of the list.
void addConfiguredVmOptions(const std::vector<std::u16string>& launcherArguments, VmOptionList& options,
                            ClassPathDirectives& directives, LaunchSystem& system,
                            const VmOptionsEnvironment& environment, const TextConverters& converters);
