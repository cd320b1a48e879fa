#pragma once

#include "PayloadWriter.h"

#include <filesystem>
#include <string>
#include <string_view>

// The readable launcher configuration: a TOML file with sections by meaning
// (application, class path, files, Java search, VM options, messages,
// service, GUI, logs, translations, raw keys), mapped onto the keys of the
// catalogue and their encodings. docs/configuration.md describes every field.
namespace generator {

// Which template the configuration is built for; it decides key 107.
enum class LauncherProgram { Gui, Service };

struct ReadOptions {
    std::string sourceName;                // shown in errors: "app.toml:3:1: ..."
    std::filesystem::path baseDirectory;   // relative embedded file paths start here
    LauncherProgram program = LauncherProgram::Gui;
    std::filesystem::path defaultBootstrapJar;  // embedded unless files.bootstrapJar says otherwise
    bool checkFiles = true;                // refuse embedded files that cannot be read
};

// Reads `text` into `payload`. On any error returns false with `error` set to
// "<source>:<line>:<column>: <message>" and leaves `payload` untouched.
bool readLauncherConfiguration(std::string_view text, const ReadOptions& options, payload::LauncherPayload& payload,
                               std::string& error);

bool readLauncherConfigurationFile(const std::filesystem::path& path, ReadOptions options,
                                   payload::LauncherPayload& payload, std::string& error);

// The name that the embedded bootstrap jar gets in the temporary directory.
inline constexpr std::string_view kBootstrapJarName = "launcher-bootstrap.jar";

// The system properties through which [logs] hands the log size limit to the
// bootstrap, in the JVM options; how many rotated logs are kept when the
// configuration does not say, and at most.
inline constexpr std::string_view kLogMaxSizeProperty = "jlaunchkit.log.maxSize";
inline constexpr std::string_view kLogKeepProperty = "jlaunchkit.log.keep";
inline constexpr int64_t kDefaultLogKeep = 5;
inline constexpr int64_t kMostLogsKept = 1000;

// "-D<name>=": how a JVM option that sets the system property `name` starts.
inline std::string systemPropertyPrefix(std::string_view name) { return "-D" + std::string(name) + "="; }

// Launcher buffers: a value longer than this is cut by the launcher.
inline constexpr size_t kValueCapacity = 8191;
inline constexpr size_t kJvmSubdirectoryCapacity = 199;

}  // namespace generator
