// Launcher descriptions are text that users write by hand: any text must be
// read or refused with a message naming its line.
#include "LauncherDescription.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    payload::LauncherPayload payload;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!payload::parseLauncherDescription(text, "/", payload, error) && error.rfind("line ", 0) != 0) std::abort();
    return 0;
}
