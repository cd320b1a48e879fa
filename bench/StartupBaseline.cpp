// The floor under a launcher's start-up: a program that loads the same system
// DLLs and does only the I/O no launcher can avoid. It reads its own appended
// payload in one piece, writes the embedded files' bytes to a fresh temporary
// directory and removes them again, and reads a warm version cache entry: it
// opens the key of the runtime's java.exe and queries its two values, as a
// launcher that finds its runtime in the cache must at least. It parses no
// configuration and unmasks nothing. bench/startup.sh appends the launcher's
// payload to it and times the two against each other.
//
//   startup_baseline_gui64.exe SIZES JAVA_EXE [DLL]...      (and the console variant)
//
// SIZES: the embedded files' sizes in payload order, comma-separated. The
// files are the payload's tail, each behind its 8-byte size; that size is
// checked, so the baseline never times less work than the launcher does.
// JAVA_EXE: the full path of the java.exe whose cache entry a launcher run has
// written; a missing entry fails the run for the same reason.
//
// When done it prints "startup-us <n>" on standard output: microseconds from
// its process's creation to the end of its work, taken as the stand-in
// jvm.dll takes its own "startup-us" at JNI_CreateJavaVM.
#include "core/WinApi.h"
#include "core/win/Handles.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "startup baseline: %s\n", what);
    return 1;
}

int failWin32(const char* what) {
    const DWORD error = ::GetLastError();
    std::fprintf(stderr, "startup baseline: %s (error %lu)\n", what, error);
    return 1;
}

// In 100 ns units, -1 when the process's times cannot be read; the precise
// clock where the system has one.
long long ticksSinceProcessStart() {
    FILETIME creation{}, exit{}, kernel{}, user{}, now{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user)) return -1;
    using PreciseClock = void(WINAPI*)(FILETIME*);
    static const auto precise = reinterpret_cast<PreciseClock>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    if (precise != nullptr) precise(&now);
    else ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return ticks(now) - ticks(creation);
}

// The launcher's version cache entry of `javaExe`: the key below
// HKEY_CURRENT_USER with the path's backslashes turned into slashes, holding
// "LastWriteTime" and "Version".
bool readCachedVersion(const char* javaExe) {
    std::string name = "SOFTWARE\\corvanta\\zelkor\\jvms\\";
    const size_t root = name.size();
    name += javaExe;
    std::replace(name.begin() + static_cast<std::ptrdiff_t>(root), name.end(), '\\', '/');
    RegistryKey key;
    LONG status = ::RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, key.put());
    if (status != ERROR_SUCCESS) {
        ::SetLastError(static_cast<DWORD>(status));
        return false;
    }
    uint8_t time[8];
    DWORD timeSize = sizeof time;
    char version[260];
    DWORD versionSize = sizeof version;
    status = ::RegQueryValueExA(key.get(), "LastWriteTime", nullptr, nullptr, time, &timeSize);
    if (status == ERROR_SUCCESS)
        status = ::RegQueryValueExA(key.get(), "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(version),
                                    &versionSize);
    ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS && timeSize == sizeof time && versionSize > 0;
}

// The loader has mapped our headers already: finding the payload costs no I/O.
uint64_t payloadStart() {
    const auto* base = reinterpret_cast<const uint8_t*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* last = IMAGE_FIRST_SECTION(nt) + nt->FileHeader.NumberOfSections - 1;
    return static_cast<uint64_t>(last->PointerToRawData) + last->SizeOfRawData;
}

bool readPayload(std::vector<uint8_t>& payload) {
    char ownPath[MAX_PATH];
    if (::GetModuleFileNameA(nullptr, ownPath, MAX_PATH) == 0) return false;
    FileHandle file(::CreateFileA(ownPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size)) return false;
    const uint64_t start = payloadStart();
    if (static_cast<uint64_t>(size.QuadPart) <= start) {
        ::SetLastError(ERROR_HANDLE_EOF);  // nothing appended
        return false;
    }
    payload.resize(static_cast<size_t>(size.QuadPart - start));
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(start);
    DWORD read = 0;
    return ::SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN) &&
           ::ReadFile(file.get(), payload.data(), static_cast<DWORD>(payload.size()), &read, nullptr) &&
           read == payload.size();
}

std::vector<uint64_t> parseSizes(const char* text) {
    std::vector<uint64_t> sizes;
    for (char* end = nullptr;; text = end + 1) {
        sizes.push_back(std::strtoull(text, &end, 10));
        if (*end != ',') break;
    }
    return sizes;
}

bool recordedSizesMatch(const uint8_t* at, const std::vector<uint64_t>& sizes) {
    for (uint64_t size : sizes) {
        uint64_t recorded = 0;
        std::memcpy(&recorded, at, 8);
        if (recorded != size) return false;
        at += 8 + size;
    }
    return true;
}

bool writeFile(const std::string& path, const uint8_t* bytes, uint64_t size) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// Writes each file behind its 8-byte size from `at` on, then removes them all
// again, also after a failed write.
int writeAndRemoveFiles(const std::string& directory, const uint8_t* at, const std::vector<uint64_t>& sizes) {
    int result = 0;
    std::vector<std::string> written;
    for (uint64_t size : sizes) {
        written.push_back(directory + "\\file" + std::to_string(written.size()));
        if (!writeFile(written.back(), at + 8, size)) {
            result = failWin32("cannot write an embedded file");
            break;
        }
        at += 8 + size;
    }
    for (const std::string& path : written) ::DeleteFileA(path.c_str());
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: startup_baseline SIZES JAVA_EXE [DLL]...\n", stderr);
        return 2;
    }
    for (int i = 3; i < argc; ++i)
        if (::LoadLibraryA(argv[i]) == nullptr) return failWin32(argv[i]);

    std::vector<uint8_t> payload;
    if (!readPayload(payload)) return failWin32("cannot read the appended payload");
    const std::vector<uint64_t> sizes = parseSizes(argv[1]);
    uint64_t tail = 0;
    for (uint64_t size : sizes) tail += 8 + size;
    if (tail > payload.size()) return fail("the payload is shorter than the embedded files");
    const uint64_t firstFile = payload.size() - tail;
    // Checked before anything is written, so that a mismatch leaves nothing behind.
    if (!recordedSizesMatch(payload.data() + firstFile, sizes))
        return fail("an embedded file's recorded size differs from SIZES");

    char tempPath[MAX_PATH];
    if (::GetTempPathA(MAX_PATH, tempPath) == 0) return failWin32("no temporary path");
    const std::string directory = std::string(tempPath) + "startup-baseline-" + std::to_string(::GetCurrentProcessId());
    if (!::CreateDirectoryA(directory.c_str(), nullptr)) return failWin32("cannot create the temporary directory");
    int result = writeAndRemoveFiles(directory, payload.data() + firstFile, sizes);
    if (!::RemoveDirectoryA(directory.c_str()) && result == 0)
        result = failWin32("cannot remove the temporary directory");
    if (result != 0) return result;

    if (!readCachedVersion(argv[2])) return failWin32("no version cache entry for the runtime");
    const long long ticks = ticksSinceProcessStart();
    if (ticks < 0) return failWin32("cannot read the process times");
    std::printf("startup-us %lld\n", ticks / 10);
    return 0;
}
