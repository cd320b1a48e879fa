// Test double of a Java runtime's java.exe and javaw.exe (one source, two
// subsystems). It does what the launcher needs from them and nothing else:
// print a version banner on standard error and end with a chosen exit code.
//
// "standin-java.cfg" beside the program, one key=value per line:
//   banner=<text>   first line printed on standard error
//   line=<text>     a further line after it; may be given many times
//   exit=<number>   exit code (default 0)
//   hang=1          after printing, sleep until killed
//   sleep-ms=<n>    after printing, sleep n milliseconds before ending
// Lines starting with '#' and unknown keys are ignored. Every run first
// appends "<program file name>\t<command line>\n" to "standin-java-runs.txt"
// beside the program, so tests can count the version runs.
#include <windows.h>

#include "StandinFiles.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace standin;

struct Settings {
    std::vector<std::string> lines;  // banner first when given
    int exitCode = 0;
    bool hang = false;
    unsigned long sleepMs = 0;
};

void writeError(const std::string& text) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

Settings parse(const std::string& content) {
    Settings settings;
    std::string banner;
    bool haveBanner = false;
    std::vector<std::string> more;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "banner") {
            banner = value;
            haveBanner = true;
        } else if (key == "line") {
            more.push_back(value);
        } else if (key == "exit") {
            settings.exitCode = static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
        } else if (key == "hang") {
            settings.hang = value == "1";
        } else if (key == "sleep-ms") {
            settings.sleepMs = std::strtoul(value.c_str(), nullptr, 10);
        }
    }
    if (haveBanner) settings.lines.push_back(banner);
    settings.lines.insert(settings.lines.end(), more.begin(), more.end());
    return settings;
}

}  // namespace

int main() {
    const std::wstring self = ownPath();
    const size_t slash = self.find_last_of(L"\\/");
    const std::wstring directory = slash == std::wstring::npos ? std::wstring() : self.substr(0, slash + 1);
    const std::wstring program = slash == std::wstring::npos ? self : self.substr(slash + 1);

    appendLine(directory + L"standin-java-runs.txt", utf8(program) + "\t" + utf8(GetCommandLineW()) + "\n");

    std::string content;
    if (!readWhole(directory + L"standin-java.cfg", content)) {
        writeError("standin " + utf8(program) + ": no standin-java.cfg in " + utf8(directory) + "\r\n");
        return 1;
    }
    const Settings settings = parse(content);
    std::string output;
    for (const std::string& line : settings.lines) output += line + "\r\n";  // the runtime's own line ends
    writeError(output);
    if (settings.hang)
        for (;;) Sleep(INFINITE);
    Sleep(settings.sleepMs);
    return settings.exitCode;
}
