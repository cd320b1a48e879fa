#include "support/TestFiles.h"

#include <fstream>
#include <iterator>

#ifdef _WIN32
#include "core/win/Handles.h"
#endif

bool exists(const std::string& path) {
#ifdef _WIN32
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
#endif
}

std::string readFile(const std::filesystem::path& path) {
#ifdef _WIN32
    // Shared for reading only: a file that a program still writes is not read half written.
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    return content;
#else
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
#endif
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    const std::string bytes = readFile(path);
    return {bytes.begin(), bytes.end()};
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
