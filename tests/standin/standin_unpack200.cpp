// Test double of a Java runtime's unpack200.exe:
//   unpack200 [-r] [-v] [-q] <pack> <target>
// "Unpacking" copies the pack's bytes to the target unchanged, so a test can
// tell which pack a jar came from; -r (or --remove-pack-file) then deletes
// the pack. Every run first appends its raw command line and "\n" to
// "standin-unpack200-runs.txt" beside the program.
//
// A caller may pass the arguments without the program name in front (the
// launcher gives the program as the application name and "-r ..." alone as
// the command line), so the first word is only skipped when it names this
// program.
//
// "standin-unpack200.cfg" beside the program may hold "exit=<number>": a
// non-zero number makes every run fail with that code before touching files.
//
// Exit codes: 0 done, 2 bad arguments, 1 a file could not be read, written
// or deleted, or the configured code.
#include <windows.h>
#include <shellapi.h>

#include "StandinFiles.h"

#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

namespace {

using namespace standin;

int fail(int code, const std::string& message) {
    const std::string text = "standin unpack200: " + message + "\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return code;
}

bool namesThisProgram(std::wstring word) {
    const size_t slash = word.find_last_of(L"\\/");
    if (slash != std::wstring::npos) word.erase(0, slash + 1);
    for (wchar_t& c : word) c = static_cast<wchar_t>(std::towlower(c));
    return word == L"unpack200" || word == L"unpack200.exe";
}

int configuredExit(const std::wstring& directory) {
    std::string content;
    if (!readWhole(directory + L"standin-unpack200.cfg", content)) return 0;
    const size_t at = content.find("exit=");
    return at == std::string::npos ? 0 : static_cast<int>(std::strtol(content.c_str() + at + 5, nullptr, 10));
}

}  // namespace

int main() {
    const std::wstring self = ownPath();
    const std::wstring directory = self.substr(0, self.find_last_of(L"\\/") + 1);
    const wchar_t* commandLine = GetCommandLineW();
    appendLine(directory + L"standin-unpack200-runs.txt", utf8(commandLine) + "\n");

    std::vector<std::wstring> words;
    if (*commandLine != L'\0') {  // an empty command line would give this program's path
        int count = 0;
        LPWSTR* split = CommandLineToArgvW(commandLine, &count);
        for (int i = 0; split != nullptr && i < count; ++i) words.emplace_back(split[i]);
        LocalFree(split);
    }
    if (!words.empty() && namesThisProgram(words.front())) words.erase(words.begin());

    const char* usage = "usage: unpack200 [-r] [-v] [-q] <pack> <target>";
    bool removePack = false;
    std::vector<std::wstring> files;
    for (const std::wstring& word : words) {
        if (!files.empty() || word.empty() || word[0] != L'-') {
            files.push_back(word);
        } else if (word == L"-r" || word == L"--remove-pack-file") {
            removePack = true;
        } else if (word != L"-v" && word != L"-q") {
            return fail(2, "unknown option " + utf8(word) + "; " + usage);
        }
    }
    if (files.size() != 2) return fail(2, std::string("expected a pack and a target; ") + usage);
    const std::wstring& pack = files[0];
    const std::wstring& target = files[1];

    if (const int code = configuredExit(directory); code != 0) return fail(code, "failing as configured");
    std::string content;
    if (!readWhole(pack, content)) return fail(1, "cannot read " + utf8(pack));
    if (!writeWhole(target, content)) return fail(1, "cannot write " + utf8(target));
    if (removePack && !DeleteFileW(pack.c_str())) return fail(1, "cannot delete " + utf8(pack));
    return 0;
}
