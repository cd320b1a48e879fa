#pragma once

// The entry names of a zip archive (a jar), taken from its central directory.
// Nothing is decompressed: the stand-in JVM only needs to know whether an
// archive on the class path holds "pkg/Name.class".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

enum class ZipStatus {
    Ok,
    NoEndRecord,  // not an archive: no end-of-central-directory record
    Damaged,      // the end record or the central directory does not hold together
};

class ZipDirectory {
public:
    // Reads the names of the whole archive image. On failure `directory` is
    // left as it was.
    static ZipStatus read(std::span<const uint8_t> archive, ZipDirectory& directory);

    const std::vector<std::string>& names() const { return names_; }
    // Exact, case-sensitive match, as a class loader looks entries up.
    bool contains(std::string_view name) const;

private:
    std::vector<std::string> names_;
};

}  // namespace standin
