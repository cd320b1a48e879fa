#pragma once

#include "ResourceTree.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Reads and rewrites the resource section of a PE image (x86 and x86-64). The
// rewritten image keeps every section before the resources where it was, lays
// the resources out again in place, moves the sections after them (the base
// relocations) behind, and fixes the section headers, the data directories,
// the size of the image, the size of initialized data and the checksum, so
// that the file still ends where its last section's raw data ends.
namespace resources {

// The resources of `image`; an empty list when it has none.
std::optional<std::vector<Resource>> readImageResources(std::span<const uint8_t> image, std::string& error);

// Replaces the resources of `image` with `resources`. Refuses images with
// data after their last section (a payload or a signature), images whose
// resource section is followed by anything but base relocations, and damaged
// headers; `image` is untouched then.
bool replaceImageResources(std::vector<uint8_t>& image, const std::vector<Resource>& resources, std::string& error);

// Where an Authenticode signature lies in the file, from the security data
// directory (a file offset, unlike the other directories).
struct SignatureLocation {
    uint32_t offset = 0;
    uint32_t size = 0;
};
std::optional<SignatureLocation> findSignature(std::span<const uint8_t> file);

// The PE checksum of `file`, with the checksum field itself counted as zero.
uint32_t peChecksum(std::span<const uint8_t> file);

}  // namespace resources
