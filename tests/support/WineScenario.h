#pragma once

#include "PayloadWriter.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A scenario makes real launchers from the templates in dist/ and runs them
// under Wine in the test run's prefix. Each scenario works in a directory of
// its own and removes it when it ends; a run's log file is removed once read.
struct LauncherRun {
    int exitCode = -1;
    std::string standardOutput;  // CR LF line ends turned into LF
    std::string standardError;
    bool skipped = false;           // this bitness cannot run on this machine
    std::string skipReason;
    std::optional<std::string> log;  // the launcher's log file, line ends as written

    // The log split into lines without their CR LF ends.
    std::vector<std::string> logLines() const;
    // Whether the log holds exactly this line, or a line that starts so.
    bool logHas(const std::string& line) const;
    bool logHasPrefix(const std::string& prefix) const;
    // The temporary directory the launcher announced in its log ("Temp dir: "),
    // "" when it announced none.
    std::string announcedTempDir() const;
};

// A run as a failed expectation shows it: exit code, both output streams
// and the log.
std::string describe(const LauncherRun& run);

// Ends a scenario test as skipped when its launcher's bitness cannot run here.
// The empty branch keeps a caller's own if/else from binding to this one.
#define SKIP_IF_UNRUNNABLE(run) \
    if (!(run).skipped) {      \
    } else                     \
        GTEST_SKIP() << (run).skipReason

// A launcher started by WineScenario::start and not yet waited for.
struct StartedRun {
    int processId = -1;
    std::filesystem::path launcher;
    std::filesystem::path outputPath;
    std::filesystem::path errorPath;
    int timeoutSeconds = 120;
    int standardInput = -1;  // the write end of the program's standard input, when kept open
};

class WineScenario {
public:
    explicit WineScenario(const std::string& name);
    ~WineScenario();
    WineScenario(const WineScenario&) = delete;
    WineScenario& operator=(const WineScenario&) = delete;

    const std::filesystem::path& directory() const { return directory_; }

    // Writes `exeName` into the scenario directory from the named template
    // ("guilauncher64.exe", ...) and the payload; fails the test on error.
    std::filesystem::path makeLauncher(const std::string& templateName, const payload::LauncherPayload& payload,
                                       const std::string& exeName = "app.exe");
    // The same from a template given by its path.
    std::filesystem::path makeLauncherFrom(const std::filesystem::path& templatePath,
                                           const payload::LauncherPayload& payload,
                                           const std::string& exeName = "app.exe");
    std::filesystem::path makeLauncherWithRawPayload(const std::string& templateName,
                                                     const std::vector<uint8_t>& payloadBytes,
                                                     const std::string& exeName = "app.exe");

    // Runs the launcher under Wine with extra environment variables and waits
    // for it (killed after `timeoutSeconds`).
    LauncherRun run(const std::filesystem::path& launcher, const std::vector<std::string>& arguments = {},
                    const std::map<std::string, std::string>& environment = {}, int timeoutSeconds = 120);

    // The same in two steps, for programs that run side by side. With
    // `pipeInput` the program reads its standard input from a pipe that stays
    // open until closeInput or finish; otherwise from /dev/null. Each start has
    // output files of its own. finish waits for the program, as run does, and
    // takes one log of its launcher (which one, when several of one launcher
    // ran at a time, is not told).
    StartedRun start(const std::filesystem::path& launcher, const std::vector<std::string>& arguments = {},
                     const std::map<std::string, std::string>& environment = {}, int timeoutSeconds = 120,
                     bool pipeInput = false);
    static void closeInput(StartedRun& started);
    LauncherRun finish(StartedRun& started);

    // The path of the Wine prefix's drive C, the Windows form of a Unix path
    // and the Unix form of a Windows path on drive C or Z.
    static std::filesystem::path driveC();
    static std::string windowsPath(const std::filesystem::path& unixPath);
    static std::filesystem::path unixPath(const std::string& windowsPath);

private:
    std::optional<std::string> findLog(const std::filesystem::path& launcher);

    std::filesystem::path directory_;
    int starts_ = 0;
};

// The templates' directory.
std::filesystem::path templateDirectory();

// A test program of the Windows builds, e.g. testProgram("extraction_probe", 64).
std::filesystem::path testProgram(const std::string& name, int bits);
