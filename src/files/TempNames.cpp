#include "files/TempNames.h"

std::string reservationFileOf(std::string_view tempDir) {
    const size_t marker = tempDir.rfind("_dir");
    if (marker == std::string_view::npos || marker == 0) return {};
    std::string_view seconds = tempDir.substr(marker + 4);
    if (!seconds.empty() && seconds.front() == '-') seconds.remove_prefix(1);
    if (seconds.empty() || seconds.find_first_not_of("0123456789") != std::string_view::npos) return {};
    return std::string(tempDir.substr(0, marker));
}
