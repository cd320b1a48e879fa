#include "files/PackedJars.h"

#include "core/PathText.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr std::string_view kMutexPrefix = "Local\\zelkor_unpack_";

bool endsWithPackSuffix(std::string_view path) { return endsWithIgnoringCase(path, kPackSuffix); }

// FNV-1a: stable across launchers and bitnesses, which is all a name needs.
uint64_t pathHash(std::string_view text) {
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

std::string homePath(std::string_view home, std::string_view relative) {
    std::string path(home);
    if (path.empty() || path.back() != '\\') path += '\\';
    path += relative;
    return path;
}

std::string packPathOf(std::string_view home, std::string_view jar) {
    std::string path = homePath(home, jar);
    path += kPackSuffix;
    return path;
}

std::string jarPathOfPack(std::string_view pack) {
    if (pack.size() <= kPackSuffix.size() || !endsWithPackSuffix(pack)) return {};
    return std::string(pack.substr(0, pack.size() - kPackSuffix.size()));
}

std::string unpackToolPath(std::string_view home) { return homePath(home, "bin\\unpack200.exe"); }

std::string unpackArguments(std::string_view pack, std::string_view jar) {
    std::string arguments = "-r \"";
    arguments.append(pack);
    arguments += "\" \"";
    arguments.append(jar);
    arguments += '"';
    return arguments;
}

std::string unpackMutexName(std::string_view foldedHome) {
    while (!foldedHome.empty() && foldedHome.back() == '\\') foldedHome.remove_suffix(1);
    std::string body(foldedHome);
    for (char& c : body) {
        if (c == '\\') c = '/';
    }
    const size_t room = kLongestMutexName - kMutexPrefix.size();
    if (body.size() > room) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(pathHash(body)));
        body = std::string(hash) + "_" + body.substr(body.size() - (room - 17));
    }
    return std::string(kMutexPrefix) + body;
}
