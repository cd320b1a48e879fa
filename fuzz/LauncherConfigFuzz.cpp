// Launcher configurations are files that users write by hand: any text must
// be read or refused with a message naming its place. What inspect prints for
// an accepted file must read back into the same record.
#include "ConfigurationText.h"
#include "LauncherConfig.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string_view>

namespace {

std::map<int32_t, std::string> narrowValues(const payload::LauncherPayload& payload) {
    std::map<int32_t, std::string> values;
    for (const auto& entry : payload.record.narrowEntries) values[entry.key] = entry.value;
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    generator::ReadOptions options;
    options.sourceName = "fuzz.toml";
    options.baseDirectory = "/";
    options.checkFiles = false;
    options.defaultBootstrapJar = "/launcher-bootstrap.jar";
    options.program = data[0] & 1 ? generator::LauncherProgram::Service : generator::LauncherProgram::Gui;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    payload::LauncherPayload first;
    std::string error;
    if (!generator::readLauncherConfiguration(text, options, first, error)) {
        if (error.rfind("fuzz.toml:", 0) != 0) std::abort();
        return 0;
    }
    payload::LauncherContents contents;
    contents.record = first.record;
    payload::LauncherPayload second;
    if (!generator::readLauncherConfiguration(generator::describeConfiguration(contents, options.program), options,
                                              second, error))
        std::abort();
    if (narrowValues(first) != narrowValues(second)) std::abort();
    return 0;
}
