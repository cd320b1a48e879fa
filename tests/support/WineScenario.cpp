#include "support/WineScenario.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSkipExitCode = 77;

// The C runtime writes text-mode streams with CR LF; tests compare lines.
std::string withUnixLineEnds(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out.push_back(text[i]);
    return out;
}

fs::path winePrefix() {
    const char* fromEnvironment = std::getenv("WINEPREFIX");
    return fromEnvironment ? fs::path(fromEnvironment) : fs::path(LAUNCHER_WINEPREFIX);
}

// Directories where a launcher's log can appear: the prefix's temporary
// directories and the root of drive C.
std::vector<fs::path> logDirectories() {
    std::vector<fs::path> directories = {WineScenario::driveC()};
    std::error_code ec;
    for (const auto& user : fs::directory_iterator(WineScenario::driveC() / "users", ec)) {
        directories.push_back(user.path() / "AppData" / "Local" / "Temp");
        directories.push_back(user.path() / "Temp");
    }
    return directories;
}

}  // namespace

std::vector<std::string> LauncherRun::logLines() const {
    std::vector<std::string> lines;
    if (!log) return lines;
    std::string current;
    for (char c : *log) {
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r') current.pop_back();
            lines.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

bool LauncherRun::logHas(const std::string& line) const {
    const std::vector<std::string> lines = logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool LauncherRun::logHasPrefix(const std::string& prefix) const {
    const std::vector<std::string> lines = logLines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

std::string LauncherRun::announcedTempDir() const {
    constexpr std::string_view kAnnouncement = "Temp dir: ";
    for (const std::string& line : logLines())
        if (line.rfind(kAnnouncement, 0) == 0) return line.substr(kAnnouncement.size());
    return {};
}

std::string describe(const LauncherRun& run) {
    return "exit " + std::to_string(run.exitCode) + "\nstdout:\n" + run.standardOutput + "\nstderr:\n" +
           run.standardError + "\nlog:\n" + run.log.value_or("(none)");
}

fs::path templateDirectory() { return fs::path(LAUNCHER_DIST_DIR); }

fs::path testProgram(const std::string& name, int bits) {
    return fs::path(LAUNCHER_BUILD_ROOT) / (bits == 64 ? "win64" : "win32") / "tests" /
           (name + std::to_string(bits) + ".exe");
}

fs::path WineScenario::driveC() { return winePrefix() / "drive_c"; }

std::string WineScenario::windowsPath(const fs::path& unixPath) {
    std::string text = "Z:" + fs::absolute(unixPath).lexically_normal().string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

fs::path WineScenario::unixPath(const std::string& windowsPath) {
    std::string rest = windowsPath.size() > 3 ? windowsPath.substr(3) : std::string();
    std::replace(rest.begin(), rest.end(), '\\', '/');
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath.empty() ? ' ' : windowsPath[0])));
    return drive == 'z' ? fs::path("/") / rest : driveC() / rest;
}

WineScenario::WineScenario(const std::string& name) {
    directory_ = fs::path(LAUNCHER_SCENARIO_ROOT) / (name + "_" + std::to_string(::getpid()));
    fs::remove_all(directory_);
    fs::create_directories(directory_);
}

WineScenario::~WineScenario() {
    std::error_code ec;
    fs::remove_all(directory_, ec);
}

fs::path WineScenario::makeLauncher(const std::string& templateName, const payload::LauncherPayload& payload,
                                    const std::string& exeName) {
    return makeLauncherFrom(templateDirectory() / templateName, payload, exeName);
}

fs::path WineScenario::makeLauncherFrom(const fs::path& templatePath, const payload::LauncherPayload& payload,
                                        const std::string& exeName) {
    const fs::path output = directory_ / exeName;
    std::string error;
    EXPECT_TRUE(payload::writeLauncher(templatePath, payload, output, error)) << error;
    return output;
}

fs::path WineScenario::makeLauncherWithRawPayload(const std::string& templateName,
                                                  const std::vector<uint8_t>& payloadBytes,
                                                  const std::string& exeName) {
    const fs::path output = directory_ / exeName;
    std::string error;
    EXPECT_TRUE(payload::writeLauncherWithRawPayload(templateDirectory() / templateName, payloadBytes, output, error))
        << error;
    return output;
}

LauncherRun WineScenario::run(const fs::path& launcher, const std::vector<std::string>& arguments,
                              const std::map<std::string, std::string>& environment, int timeoutSeconds) {
    StartedRun started = start(launcher, arguments, environment, timeoutSeconds);
    return finish(started);
}

StartedRun WineScenario::start(const fs::path& launcher, const std::vector<std::string>& arguments,
                               const std::map<std::string, std::string>& environment, int timeoutSeconds,
                               bool pipeInput) {
    StartedRun started;
    started.launcher = launcher;
    started.timeoutSeconds = timeoutSeconds;
    // The first start keeps the plain names that tests have always seen.
    const std::string suffix = starts_++ == 0 ? "" : "_" + std::to_string(starts_);
    started.outputPath = directory_ / ("stdout" + suffix + ".txt");
    started.errorPath = directory_ / ("stderr" + suffix + ".txt");
    // The runner sets the environment for the program alone (see wine-run.sh).
    std::vector<std::string> argv = {LAUNCHER_WINE_RUN};
    for (const auto& [name, value] : environment) argv.push_back(name + "=" + value);
    argv.push_back(launcher.string());
    argv.insert(argv.end(), arguments.begin(), arguments.end());

    int input[2] = {-1, -1};
    // Not inherited by programs started later: their copy of the write end
    // would keep this program's input open.
    if (pipeInput && ::pipe2(input, O_CLOEXEC) != 0) ADD_FAILURE() << "no pipe for " << launcher;
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(started.outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(started.errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = pipeInput ? input[0] : ::open("/dev/null", O_RDONLY);
        if (pipeInput) ::close(input[1]);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::chdir(directory_.c_str());
        std::vector<char*> raw;
        for (std::string& word : argv) raw.push_back(word.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    if (pipeInput) {
        ::close(input[0]);
        started.standardInput = input[1];
    }
    started.processId = child;
    return started;
}

void WineScenario::closeInput(StartedRun& started) {
    if (started.standardInput >= 0) ::close(started.standardInput);
    started.standardInput = -1;
}

LauncherRun WineScenario::finish(StartedRun& started) {
    LauncherRun result;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(started.timeoutSeconds);
    while (::waitpid(started.processId, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(started.processId, SIGKILL);
            ::waitpid(started.processId, &status, 0);
            ADD_FAILURE() << started.launcher << " did not end within " << started.timeoutSeconds << " s";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    closeInput(started);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.standardOutput = withUnixLineEnds(readFile(started.outputPath));
    result.standardError = withUnixLineEnds(readFile(started.errorPath));
    if (result.exitCode == kSkipExitCode && result.standardError.find("SKIP: ") != std::string::npos) {
        result.skipped = true;
        result.skipReason = result.standardError;
        return result;
    }
    result.log = findLog(started.launcher);
    return result;
}

// A launcher's log starts with "Started executable <its path>"; finding it by
// that line keeps concurrent scenarios apart.
std::optional<std::string> WineScenario::findLog(const fs::path& launcher) {
    const std::string header = lowered("Started executable " + windowsPath(launcher) + " at ");
    std::error_code ec;
    for (const fs::path& directory : logDirectories()) {
        for (const auto& entry : fs::directory_iterator(directory, ec)) {
            const std::string name = entry.path().filename().string();
            if (!entry.is_regular_file() || name.rfind("btl_nlog", 0) != 0) continue;
            std::string text = readFile(entry.path());
            if (lowered(text.substr(0, header.size())) != header) continue;
            fs::remove(entry.path(), ec);  // the next run of the same launcher finds its own log
            return text;
        }
    }
    return std::nullopt;
}
