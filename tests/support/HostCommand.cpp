#include "support/HostCommand.h"

#include <cstdio>

std::string hostCommandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
        ::pclose(pipe);
    }
    return output;
}

std::string launchergenBuild(const std::string& launchergen, const std::filesystem::path& configuration,
                             const std::filesystem::path& templatePath, const std::filesystem::path& output) {
    return hostCommandOutput(shellQuoted(launchergen) + " build " + shellQuoted(configuration.string()) + " --template " +
                             shellQuoted(templatePath.string()) + " --output " + shellQuoted(output.string()) + " 2>&1");
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
