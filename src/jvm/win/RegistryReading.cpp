#include "jvm/win/RegistryReading.h"

#include "core/BufferCapacity.h"
#include "core/win/SystemCalls.h"
#include "jvm/RegistryText.h"

HKEY hiveKey(RegistryHive hive) {
    return hive == RegistryHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

RegistryKey openKeyForReading(HKEY parent, const std::string& subkey) {
    RegistryKey key;
    if (systemCalls().regOpenKey(parent, subkey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) key.reset();
    return key;
}

std::optional<std::string> readTextValue(HKEY key, const char* valueName, size_t capacity) {
    std::string buffer(capacity, '\0');
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(capacity);
    // ERROR_MORE_DATA (a value longer than the buffer) is a refusal like any other.
    if (systemCalls().regQueryValue(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                    &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (size > capacity) return std::nullopt;
    return registryValueText(type, std::string_view(buffer.data(), size), capacity);
}

std::vector<std::string> subkeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[kBufferCapacity];
    // The index moves on after every call, so the list ends even if the
    // system kept answering ERROR_MORE_DATA.
    for (DWORD index = 0; index < MAXDWORD; ++index) {
        // In and out: the call leaves the last name's length here.
        DWORD length = static_cast<DWORD>(kBufferCapacity);
        const LONG status = systemCalls().regEnumKey(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) {
            if (length < kBufferCapacity) names.emplace_back(name, length);
            continue;
        }
        // A name too long for the buffer cannot be a path or version we could
        // use; the names after it still can.
        if (status == ERROR_MORE_DATA) continue;
        // ERROR_NO_MORE_ITEMS is the end; any other failure (the key deleted
        // meanwhile, access withdrawn) would come back at every index.
        break;
    }
    return names;
}
