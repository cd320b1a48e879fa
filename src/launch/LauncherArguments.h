#pragma once

#include "launch/VmOptions.h"

#include <string>
#include <string_view>
#include <vector>

// Routing of the launcher's arguments between the JVM and the Java main method.

// Configuration key 125: arguments that begin with "-J" are JVM options.
bool dashJArgumentsAreJvmOptions();

// The argument begins with "-J" and such arguments are for the JVM.
bool isJvmArgument(std::u16string_view argument, bool dashJIsJvm);

// The arguments for main: from element 1 on, without the JVM arguments and
// without any that begin with "-Dsun.locale.formatasdefault=".
std::vector<std::u16string> applicationArguments(const std::vector<std::u16string>& launcherArguments,
                                                 bool dashJIsJvm);

// Hands the text after "-J" of every JVM argument, from element 0 on and
// converted to a narrow string, to handleVmOption with no base file.
void addJvmArguments(const std::vector<std::u16string>& launcherArguments, bool dashJIsJvm, VmOptionList& options,
                     ClassPathDirectives& directives, const VmOptionsEnvironment& environment,
                     const TextConverters& converters);
