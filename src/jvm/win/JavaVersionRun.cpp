#include "jvm/win/JavaVersionRun.h"

#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32Text.h"
#include "core/win/SystemFailure.h"
#include "log/Log.h"
#include "files/TempDirectory.h"
#include "jvm/VersionRules.h"

#include <cstdio>

namespace {

// The banner's first line is read into a buffer of this size.
constexpr int kFirstLineCapacity = 100;

std::string shortPathOf(const std::string& path) {
    return boundedTextOr(
        [&path](char* buffer, DWORD capacity) {
            return systemCalls().getShortPathName(path.c_str(), buffer, capacity);
        },
        path);
}

// The child's standard error: inheritable, shared so that the file can be
// read back by name while the handle is still open, and deleted even while a
// copy of the handle lives on in a process the child left behind (the console
// host that a console program gets when a GUI program starts it).
FileHandle createOutputFile(const std::string& name) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return FileHandle(systemCalls().createFile(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Ends a child that outlived its time. The wait afterwards matters: until the
// child is gone it holds the output file open, and the file could not be
// removed.
void endHungChild(const KernelHandle& process, unsigned long timeoutMs) {
    logMessage("Terminating process");
    if (::TerminateProcess(process.get(), 1)) systemCalls().waitForObject(process.get(), timeoutMs);
}

// The first line in text mode, at most kFirstLineCapacity - 1 characters.
VersionRun readVersion(const std::string& outputName) {
    VersionRun run;
    FILE* output = std::fopen(outputName.c_str(), "rt");
    if (output == nullptr) return run;
    char line[kFirstLineCapacity];
    const bool gotLine = std::fgets(line, sizeof line, output) != nullptr;
    std::fclose(output);
    if (!gotLine) return run;
    if (const std::optional<std::string> version = versionFromBannerLine(line)) {
        logMessage("Java version: %s", version->c_str());
        run.outcome = VersionRun::Outcome::Version;
        run.version = *version;
    }
    return run;
}

// Starts the child and waits for it; the output file handle is closed when
// this returns, whichever way it ends.
VersionRun runChild(std::string commandLine, const std::string& outputName, unsigned long timeoutMs) {
    const FileHandle output = createOutputFile(outputName);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    // Without a file the child still runs; its banner is lost and no version is found.
    startup.hStdError = output ? output.get() : nullptr;
    PROCESS_INFORMATION started{};
    if (!systemCalls().createProcess(nullptr, commandLine.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                                     nullptr, nullptr, &startup, &started)) {
        logSystemFailure("Could not create process %s > %s (error %d)", commandLine.c_str(), outputName.c_str());
        return {VersionRun::Outcome::NotFinished, {}};
    }
    const ProcessHandles child(started);

    // Whether the child ended is the wait's answer: 259 (STILL_ACTIVE) is also
    // an exit code a program can end with.
    const DWORD waited = systemCalls().waitForObject(child.process.get(), timeoutMs);
    DWORD exitCode = STILL_ACTIVE;
    const bool gotExitCode = systemCalls().getExitCodeProcess(child.process.get(), &exitCode) != FALSE;
    logMessage("Exit Code %d", static_cast<int>(exitCode));
    if (waited != WAIT_OBJECT_0) {
        endHungChild(child.process, timeoutMs);
        return {VersionRun::Outcome::NotFinished, {}};
    }
    if (!gotExitCode) return {VersionRun::Outcome::NotFinished, {}};
    if (exitCode != 0) return {VersionRun::Outcome::NonZeroExit, {}};
    return {VersionRun::Outcome::NoVersion, {}};
}

}  // namespace

VersionRun runJavaVersion(const std::string& normalisedPath, unsigned long timeoutMs) {
    const std::string outputName = makeTempFileName();
    VersionRun run = runChild(versionCommandLine(shortPathOf(normalisedPath)), outputName, timeoutMs);
    if (run.outcome == VersionRun::Outcome::NoVersion) run = readVersion(outputName);
    // Removed on every path, the file that reserved the name included.
    systemCalls().deleteFile(outputName.c_str());
    return run;
}
