#include "core/MessageNames.h"

#include "core/PathText.h"

namespace config {
namespace {

constexpr std::string_view kCataloguePrefix = "message";

}  // namespace

std::string messageName(const KeyInfo& message) {
    std::string name(message.name.substr(kCataloguePrefix.size()));
    if (!name.empty()) name[0] = asciiLower(name[0]);
    return name;
}

const KeyInfo* findMessageByName(std::string_view name) {
    for (const KeyInfo& info : keyCatalogue())
        if (isMessageKey(info.key) && messageName(info) == name) return &info;
    return nullptr;
}

}  // namespace config
