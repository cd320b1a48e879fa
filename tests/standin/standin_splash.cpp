// Test double of a Java runtime's splashscreen.dll. It draws nothing; it
// appends one line per call to "standin-splash-calls.txt" beside the DLL:
//   SplashInit
//   SplashLoadMemory bytes=<count> crc32=<8 lower-case hex digits>
//   SplashLoadMemory bytes=<count> data=null       (null pointer)
//   SplashLoadMemory bytes=<count> data=unread     (negative count)
//   SplashClose
// The checksum is the usual CRC-32 (reflected, polynomial 0xEDB88320), the
// same as zlib's crc32 and ntdll's RtlComputeCrc32 with a start value of 0.
// The exports are plain C functions with the default (cdecl) convention, so
// their names are undecorated in both bitnesses.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

uint32_t crc32(const unsigned char* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::wstring callsFile() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&callsFile), &self);
    wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(self, path, 32768);
    std::wstring text(path, length < 32768 ? length : 0);
    const size_t slash = text.find_last_of(L"\\/");
    text.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return text + L"standin-splash-calls.txt";
}

void record(const std::string& line) {
    const HANDLE file = CreateFileW(callsFile().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" {

__declspec(dllexport) void SplashInit() { record("SplashInit"); }

// Accepts any non-empty image: 1; nothing to show: 0.
__declspec(dllexport) int SplashLoadMemory(void* data, int size) {
    char line[96];
    if (data == nullptr) {
        std::snprintf(line, sizeof line, "SplashLoadMemory bytes=%d data=null", size);
    } else if (size < 0) {
        std::snprintf(line, sizeof line, "SplashLoadMemory bytes=%d data=unread", size);
    } else {
        std::snprintf(line, sizeof line, "SplashLoadMemory bytes=%d crc32=%08lx", size,
                      static_cast<unsigned long>(crc32(static_cast<const unsigned char*>(data), static_cast<size_t>(size))));
    }
    record(line);
    return data != nullptr && size > 0 ? 1 : 0;
}

__declspec(dllexport) void SplashClose() { record("SplashClose"); }

}  // extern "C"
