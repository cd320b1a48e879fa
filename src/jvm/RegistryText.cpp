#include "jvm/RegistryText.h"

std::optional<std::string> registryValueText(uint32_t type, std::string_view data, size_t capacity) {
    if (type != kRegistryText && type != kRegistryExpandableText) return std::nullopt;
    if (data.size() > capacity) return std::nullopt;
    const std::string_view text = data.substr(0, data.find('\0'));
    if (text.size() >= capacity) return std::nullopt;
    return std::string(text);
}
