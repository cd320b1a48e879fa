#pragma once

#include <filesystem>
#include <string>

// Host shell commands of the scenarios (launchergen, reg.exe through the Wine
// runner, the host JDK's tools).

// What the command printed on standard output; the caller adds "2>&1" to the
// command for standard error too. Empty when the shell could not be started.
std::string hostCommandOutput(const std::string& command);

// `text` as one word for the shell, inside single quotes.
std::string shellQuoted(const std::string& text);

// Runs `<launchergen> build` on a configuration file; returns what it printed
// on either stream (its error messages when no launcher was written).
std::string launchergenBuild(const std::string& launchergen, const std::filesystem::path& configuration,
                             const std::filesystem::path& templatePath, const std::filesystem::path& output);
