// What the registry sources make of the texts they read: a value's bytes
// taken as text, an installations list split into homes, version key names
// filtered and ordered, the "CurrentVersion" choice and a located key name
// turned into a path. Registry contents are whatever anyone wrote there.
//
// Input: the value type (1 byte), the buffer capacity (2 bytes, little-endian),
// then the value's bytes; the same bytes split at line ends give the key names,
// the first two of them also serving as the limits and the two
// "CurrentVersion" names.
#include "core/BufferCapacity.h"
#include "core/LittleEndian.h"
#include "jvm/RegistryChoice.h"
#include "jvm/RegistryText.h"
#include "jvm/VersionRules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> names;
    while (!text.empty() && names.size() < 64) {
        const size_t end = text.find('\n');
        names.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return names;
}

void valueText(uint32_t type, std::string_view data, size_t capacity) {
    const std::optional<std::string> text = registryValueText(type, data, capacity);
    const bool isText = type == kRegistryText || type == kRegistryExpandableText;
    const size_t length = std::min(data.find('\0'), data.size());
    check(text.has_value() == (isText && data.size() <= capacity && length < capacity));
    if (text) check(text->size() == length && data.substr(0, length) == *text);
}

void installationHomes(std::string_view list) {
    size_t fitting = 0;
    std::string_view rest = list;
    while (!rest.empty()) {
        const size_t end = rest.find(';');
        const size_t size = std::min(end, rest.size());
        if (size > 0 && size + 4 < kBufferCapacity) ++fitting;
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    const std::vector<std::string> homes = previousInstallationHomes(list);
    check(homes.size() == fitting);
    size_t searchFrom = 0;
    for (const std::string& home : homes) {
        check(home.size() > 4 && home.size() < kBufferCapacity && home.ends_with("\\jre"));
        check(home.find(';') == std::string::npos);
        // In list order, each directory taken whole.
        const std::string_view directory = std::string_view(home).substr(0, home.size() - 4);
        const size_t at = list.find(directory, searchFrom);
        check(at != std::string_view::npos);
        searchFrom = at + directory.size();
    }
}

void versionNames(const std::vector<std::string>& names) {
    const std::string minVersion = names.empty() ? "" : names[0];
    const std::string maxVersion = names.size() < 2 ? "" : names[1];
    const std::vector<std::string> ordered = versionNamesGreatestFirst(names, minVersion, maxVersion);
    const auto inRange = [&](const std::string& name) { return versionInRange(name, minVersion, maxVersion); };
    check(ordered.size() == static_cast<size_t>(std::count_if(names.begin(), names.end(), inRange)));
    for (size_t i = 0; i < ordered.size(); ++i) {
        check(inRange(ordered[i]));
        check(std::count(ordered.begin(), ordered.end(), ordered[i]) ==
              std::count(names.begin(), names.end(), ordered[i]));
        if (i > 0) check(compareVersions(ordered[i - 1], ordered[i]) >= 0);
    }

    const std::optional<CurrentVersionChoice> choice = chooseCurrentVersion(minVersion, maxVersion);
    const bool jdkChosen = compareVersions(minVersion, maxVersion) > 0;
    const std::string& chosenName = jdkChosen ? minVersion : maxVersion;
    check(choice.has_value() == !chosenName.empty());
    if (choice) {
        check(choice->name == chosenName);
        check(choice->family == (jdkChosen ? JavaSoftFamily::DevelopmentKit : JavaSoftFamily::RuntimeEnvironment));
    }
}

void locatedPath(std::string_view name) {
    const std::string path = locatedJavaExePath(name);
    check(path.size() == name.size() && path.find('/') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const uint32_t type = data[0];
    const size_t capacity = loadLittleEndian<uint16_t>(data + 1);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 3), size - 3);
    valueText(type, bytes, capacity);
    installationHomes(bytes);
    versionNames(lines(bytes));
    locatedPath(bytes);
    return 0;
}
