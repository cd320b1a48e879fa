// A template or launcher image is outside input to the resource reader and
// writer: whatever its bytes, reading ends in resources or an error, and
// whatever is read is written back into an image that reads back the same.
#include "LauncherResources.h"
#include "PeLayout.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    std::span<const uint8_t> bytes(data, size);
    resources::checkIconFile(bytes, error);
    resources::checkSplashImage(bytes, error);
    resources::findSignature(bytes);
    auto found = resources::readImageResources(bytes, error);
    if (!found) return 0;

    std::vector<uint8_t> image(data, data + size);
    resources::ResourceChanges changes;
    changes.version = resources::VersionInfo{{1, 2, 3, 4}, {1, 2, 0, 0}, "1.2.3.4", "1.2", "P", "C", "D", "(c)"};
    changes.splash = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    if (!resources::writeResourceChanges(image, changes, error)) return 0;

    // The written tree reads back with the same leaves and the version added or replaced.
    const auto again = resources::readImageResources(image, error);
    if (!again) std::abort();
    size_t expected = 0;
    for (const resources::Resource& r : *found) {
        const bool replaced = (!r.type.isName && r.type.id == resources::kRtVersion) ||
                              (!r.type.isName && r.type.id == resources::kRtRcData && !r.name.isName &&
                               r.name.id == resources::kSplashImageId);
        if (!replaced) ++expected;
    }
    // Duplicate leaves in a damaged tree are written once.
    if (again->size() > expected + 2) std::abort();
    return 0;
}
