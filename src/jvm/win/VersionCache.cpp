#include "jvm/win/VersionCache.h"

#include "core/BufferCapacity.h"
#include "core/LittleEndian.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"

#include <algorithm>

namespace {

constexpr const char* kTimeValue = "LastWriteTime";
constexpr const char* kVersionValue = "Version";
constexpr DWORD kTimeSize = 8;

}  // namespace

std::optional<std::string> readCachedVersion(const std::string& normalisedPath, FileTimeStamp lastWriteTime) {
    const std::string keyName = versionCacheKeyName(normalisedPath);
    RegistryKey key;
    if (systemCalls().regOpenKey(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::nullopt;

    // A larger value does not fit and fails the query; a shorter one fails
    // the size test.
    uint8_t stored[kTimeSize];
    DWORD type = REG_NONE;
    DWORD size = kTimeSize;
    if (systemCalls().regQueryValue(key.get(), kTimeValue, nullptr, &type, stored, &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size != kTimeSize)
        return std::nullopt;
    // Any other time: the runtime was replaced or touched since.
    if (loadLittleEndian<uint64_t>(stored) != lastWriteTime) return std::nullopt;

    // Whether a terminator was stored depends on the writer (the system adds
    // one where the handed-over text is followed by a NUL in memory), and the
    // narrow query may add one of its own: the length the query reports
    // bounds the text and the first NUL ends it. A text that leaves no room
    // for a terminator in a path buffer is refused.
    std::string version(kBufferCapacity, '\0');
    size = static_cast<DWORD>(version.size());
    if (systemCalls().regQueryValue(key.get(), kVersionValue, nullptr, &type, reinterpret_cast<BYTE*>(version.data()),
                                    &size) != ERROR_SUCCESS ||
        type != REG_SZ || size > version.size())
        return std::nullopt;
    version.resize(size);
    version.resize(std::min(version.find('\0'), version.size()));
    if (version.size() > kBufferCapacity - 1) return std::nullopt;
    return version;
}

void writeCachedVersion(const std::string& normalisedPath, FileTimeStamp lastWriteTime, const std::string& version) {
    const std::string keyName = versionCacheKeyName(normalisedPath);
    RegistryKey key;
    if (systemCalls().regCreateKey(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    // The time goes last: it is what makes an entry valid, so a reader between
    // the two writes sees a stale entry, never a new time beside an old
    // version. Without the version, the time is not written at all.
    if (systemCalls().regSetValue(key.get(), kVersionValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(version.data()),
                                  static_cast<DWORD>(version.size())) != ERROR_SUCCESS)
        return;
    uint8_t stamp[kTimeSize];
    storeLittleEndian<uint64_t>(stamp, lastWriteTime);
    systemCalls().regSetValue(key.get(), kTimeValue, 0, REG_BINARY, stamp, kTimeSize);
}
