// The search sequence comes from the configuration a vendor writes. Whatever
// it holds, the frame asks each source a bounded number of times, takes the
// first source that accepts, and reports a location only with a runtime.
#include "log/MemoryLog.h"
#include "jvm/SearchSequence.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte picks which kind of source accepts (or none).
    const uint8_t accepting = data[0] % 9;
    const std::string sequence(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::vector<SearchEntry> entries = splitSearchSequence(sequence);
    for (const SearchEntry& entry : entries) check(entry.letter != ';');

    size_t calls = 0;
    SearchSources sources;
    sources.readLocationFile = [&](const char*) -> std::optional<std::string> {
        ++calls;
        return accepting == 1 ? std::optional<std::string>("pref") : std::nullopt;
    };
    sources.checkHomeDirectory = [&](const std::string& home, bool skip, std::string& path) {
        ++calls;
        path = home + "\\bin\\java.exe";
        return !skip && accepting == 2;
    };
    sources.checkEnvironmentHome = [&](const std::string&, std::string& path) {
        ++calls;
        path = "variable";
        return accepting == 3;
    };
    sources.checkPathJavaExe = [&](std::string& path) {
        ++calls;
        path = "path";
        return accepting == 4;
    };
    sources.findRegistryJVM = [&](std::string& path) {
        ++calls;
        path = "registry";
        return accepting == 5;
    };
    sources.findVendorRegistryJVM = [&](std::string& path) {
        ++calls;
        path = "vendor registry";
        return accepting == 8;
    };
    sources.findPreviousInstallationJVM = [&](RegistryHive, std::string& path) {
        ++calls;
        path = "previous";
        return accepting == 6;
    };
    sources.expand = [](std::string&) {};
    sources.exists = [&](const std::string&) { return accepting == 7; };

    clearMemoryLog();
    const SearchResult result = searchJVM(sequence, sources);
    // Two location files and their homes, two passes over the entries, two
    // hives, two variables.
    check(calls <= 4 + 2 * entries.size() + 2 + 2);
    check((result.type == LOCATION_NONE) == result.path.empty());
    if (result.type == LOCATION_NONE) check(result.location.empty());
    return 0;
}
