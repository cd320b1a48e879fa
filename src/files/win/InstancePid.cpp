#include "files/InstancePid.h"

#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"

namespace {

constexpr const char* kPidsKey = "SOFTWARE\\corvanta\\zelkor\\pids\\";

}  // namespace

void storeInstancePid(const std::string& loweredExePath, unsigned long processId) {
    RegistryKey key;
    if (systemCalls().regCreateKey(HKEY_CURRENT_USER, kPidsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                                   nullptr) != ERROR_SUCCESS)
        return;
    const DWORD data = processId;
    systemCalls().regSetValue(key.get(), loweredExePath.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data);
}

unsigned long readInstancePid(const std::string& loweredExePath) {
    RegistryKey key;
    if (systemCalls().regOpenKey(HKEY_CURRENT_USER, kPidsKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (systemCalls().regQueryValue(key.get(), loweredExePath.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data),
                                    &size) != ERROR_SUCCESS ||
        size != sizeof data)
        return 0;
    return data;
}
