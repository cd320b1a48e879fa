#include "core/MessageNames.h"

namespace config {
namespace {

constexpr std::string_view kCataloguePrefix = "message";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string messageName(const KeyInfo& message) {
    std::string name(message.name.substr(kCataloguePrefix.size()));
    if (!name.empty()) name[0] = lower(name[0]);
    return name;
}

const KeyInfo* findMessageByName(std::string_view name) {
    // Written names start in lower case, catalogue names in upper case after the prefix.
    if (name.empty() || lower(name[0]) != name[0]) return nullptr;
    for (const KeyInfo& info : keyCatalogue()) {
        if (!isMessageKey(info.key)) continue;
        const std::string_view rest = info.name.substr(kCataloguePrefix.size());
        if (rest.size() == name.size() && lower(rest[0]) == name[0] && rest.substr(1) == name.substr(1)) return &info;
    }
    return nullptr;
}

}  // namespace config
