// Loads the stand-in splashscreen.dll beside this program the way the launcher
// does (by name, through GetProcAddress), calls the three entries and checks
// the calls file against ntdll's own CRC-32. Exit 0 passes, 1 fails.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using SplashInitFn = void (*)();
using SplashLoadMemoryFn = int (*)(void*, int);
using SplashCloseFn = void (*)();
using RtlComputeCrc32Fn = DWORD(WINAPI*)(DWORD, const BYTE*, INT);

int failures = 0;

// FARPROC to a real signature, through the generic function pointer type.
template <typename Function>
Function entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

void check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    ++failures;
}

std::wstring ownDirectory() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring text(path, length);
    return text.substr(0, text.find_last_of(L"\\/") + 1);
}

std::vector<std::string> readLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::ifstream in(path.c_str(), std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

int main() {
    const std::wstring directory = ownDirectory();
    const std::wstring calls = directory + L"standin-splash-calls.txt";
    DeleteFileW(calls.c_str());

    const HMODULE library = LoadLibraryW((directory + L"splashscreen.dll").c_str());
    if (library == nullptr) {
        std::fprintf(stderr, "FAILED: cannot load splashscreen.dll (error %lu)\n", GetLastError());
        return 1;
    }
    const auto init = entry<SplashInitFn>(library, "SplashInit");
    const auto loadMemory = entry<SplashLoadMemoryFn>(library, "SplashLoadMemory");
    const auto close = entry<SplashCloseFn>(library, "SplashClose");
    const auto referenceCrc = entry<RtlComputeCrc32Fn>(GetModuleHandleW(L"ntdll.dll"), "RtlComputeCrc32");
    if (!init || !loadMemory || !close || !referenceCrc) {
        std::fprintf(stderr, "FAILED: an entry point is missing\n");
        return 1;
    }

    // An image of irregular bytes with an odd length.
    std::vector<unsigned char> image(70001);
    uint32_t state = 12345;
    for (unsigned char& byte : image) byte = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 24);

    init();
    check(loadMemory(image.data(), static_cast<int>(image.size())) != 0, "an image is accepted");
    check(loadMemory(nullptr, 0) == 0, "no image is refused");
    close();

    char load[96];
    std::snprintf(load, sizeof load, "SplashLoadMemory bytes=%d crc32=%08lx", static_cast<int>(image.size()),
                  static_cast<unsigned long>(referenceCrc(0, image.data(), static_cast<INT>(image.size()))));
    const std::vector<std::string> expected = {"SplashInit", load, "SplashLoadMemory bytes=0 data=null", "SplashClose"};
    const std::vector<std::string> lines = readLines(calls);
    check(lines.size() == expected.size(), "four calls recorded, found " + std::to_string(lines.size()));
    for (size_t i = 0; i < expected.size() && i < lines.size(); ++i)
        check(lines[i] == expected[i], "call " + std::to_string(i) + ": expected \"" + expected[i] + "\", got \"" + lines[i] + "\"");

    DeleteFileW(calls.c_str());
    if (failures == 0) std::printf("splash stand-in: all calls recorded\n");
    return failures == 0 ? 0 : 1;
}
