#include "launch/BootstrapArguments.h"

#include "core/LauncherState.h"
#include "text/CommandLine.h"
#include "launch/LauncherArguments.h"

std::vector<std::u16string> bootstrapArguments(const BootstrapFacts& facts,
                                               const std::vector<std::u16string>& launcherArguments,
                                               bool dashJIsJvm) {
    std::vector<std::u16string> arguments{facts.guiLauncher ? u"true" : u"false", facts.mainClass, facts.errorLog,
                                          facts.outputLog, facts.fifthArgument ? u"true" : u"false"};
    if (!launcherArguments.empty()) arguments.push_back(launcherArguments.front());
    splitCommandLine(facts.configuredArguments, arguments);
    for (std::u16string& argument : applicationArguments(launcherArguments, dashJIsJvm))
        arguments.push_back(std::move(argument));
    return arguments;
}

const char* bootstrapClassName(char flavor) {
    return flavor == kBrantelFlavor ? "com/brantel/runtime/launcher/WinLauncher" : "com/zelkor/runtime/WinLauncher";
}
