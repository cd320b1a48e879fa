#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

// Reads a version resource (RT_VERSION: VS_VERSIONINFO) the way Windows
// shows it: the fixed file and product version numbers and the texts of its
// string tables. Written apart from the generator's own version writer, so
// that each checks the other.
struct VersionResource {
    std::array<uint16_t, 4> fileVersion{};
    std::array<uint16_t, 4> productVersion{};
    // Every string of every table of StringFileInfo, by key; beyond ASCII "?".
    std::map<std::string, std::string> strings;
};

// Fails (nothing returned, `error` set) on a damaged resource: a node that
// runs past its parent or the data, a root other than VS_VERSION_INFO, or
// fixed file information without its signature.
std::optional<VersionResource> readVersionResource(std::span<const uint8_t> data, std::string& error);

// "1.2.3.4" from the four numbers.
std::string versionText(const std::array<uint16_t, 4>& numbers);
