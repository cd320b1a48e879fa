// The payload is read from a file that anyone can damage: whatever its bytes,
// loading must end in success or in one of the fixed failure messages, never
// in a crash, a hang or an allocation the file cannot back.
#include "core/ConfigLoader.h"
#include "core/ConfigStore.h"
#include "core/MemoryByteSource.h"
#include "log/MemoryLog.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool knownFailure(const char* message) {
    for (const char* known : {"Internal Error: magic", "Internal Error: readLong", "Internal Error: readInt",
                              "Internal Error: readShort", "Internal Error: readString", "Internal Error: readWString"})
        if (std::strcmp(message, known) == 0) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Loading logs; the in-memory log would otherwise grow over the whole run.
    clearMemoryLog();
    clearConfigStore();
    MemoryByteSource source({data, size});
    const ConfigurationLoadResult result = loadConfigurationFrom(source, [] { return std::string("de_AT"); });
    if (result.failure != nullptr) {
        if (!knownFailure(result.failure)) std::abort();
    } else if (result.extractionStart > size) {
        std::abort();
    }
    char buffer[16];
    configString(107, buffer, sizeof buffer);
    (void)configInt(107);
    return 0;
}
