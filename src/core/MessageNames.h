#pragma once

#include "core/ConfigKeys.h"

#include <string>
#include <string_view>

// The names a launcher description gives the message keys: the catalogue
// name without "message", starting in lower case ("messageErrorCaption" is
// "errorCaption"). The generator reads them and its listing writes them.
namespace config {

constexpr bool isMessageKey(int32_t key) { return key >= kFirstMessage && key <= kLastMessage; }

// `message` must be a message key's catalogue entry.
std::string messageName(const KeyInfo& message);

// The message key of that name; nullptr for any other name.
const KeyInfo* findMessageByName(std::string_view name);

}  // namespace config
