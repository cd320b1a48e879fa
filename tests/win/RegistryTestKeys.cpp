#include "RegistryTestKeys.h"

#include "core/win/Handles.h"

#include <gtest/gtest.h>

namespace {

bool keyExists(HKEY root, const std::string& path) {
    RegistryKey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

bool keyIsEmpty(HKEY root, const std::string& path) {
    RegistryKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0;
    DWORD values = 0;
    return ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                              nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

RegistryKey openForWriting(HKEY root, const std::string& path) {
    RegistryKey key;
    EXPECT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS)
        << path;
    return key;
}

}  // namespace

ScopedRegistryKey::ScopedRegistryKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    for (size_t end = 0; end != std::string::npos;) {
        end = path_.find('\\', end + 1);
        const std::string prefix = path_.substr(0, end);
        if (!keyExists(root_, prefix)) {
            created_ = prefix;
            break;
        }
    }
    openForWriting(root_, path_);
}

ScopedRegistryKey::~ScopedRegistryKey() {
    if (RegistryKey key; ::RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) {
        for (const std::string& name : values_) ::RegDeleteValueA(key.get(), name.c_str());
    }
    if (created_.empty()) return;
    for (std::string key = path_; key.size() >= created_.size(); key.resize(key.rfind('\\'))) {
        if (!keyIsEmpty(root_, key) || ::RegDeleteKeyA(root_, key.c_str()) != ERROR_SUCCESS) break;
        if (key.rfind('\\') == std::string::npos) break;
    }
}

void ScopedRegistryKey::setValue(const std::string& name, DWORD type, const std::string& bytes) {
    const RegistryKey key = openForWriting(root_, path_);
    EXPECT_EQ(::RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    values_.push_back(name);
}

void ScopedRegistryKey::setText(const std::string& name, const std::string& text) {
    setValue(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

RegistryTestLock::RegistryTestLock() : mutex_(::CreateMutexA(nullptr, FALSE, "Local\\launcher-registry-test-keys")) {
    EXPECT_TRUE(mutex_);
    // An abandoned lock (a test program that died) is taken over as it is.
    const DWORD waited = ::WaitForSingleObject(mutex_.get(), INFINITE);
    EXPECT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED);
}

RegistryTestLock::~RegistryTestLock() {
    ::ReleaseMutex(mutex_.get());
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::string keyPath, std::string name, const std::string& text)
    : key_(root, keyPath), root_(root), keyPath_(std::move(keyPath)), name_(std::move(name)) {
    const RegistryKey key = openForWriting(root_, keyPath_);
    std::string bytes(4096, '\0');
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(bytes.size());
    if (::RegQueryValueExA(key.get(), name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
        ERROR_SUCCESS) {
        bytes.resize(size);
        previous_.emplace(type, bytes);
    }
    EXPECT_EQ(::RegSetValueExA(key.get(), name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    RegistryKey key;
    if (::RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    if (previous_) {
        ::RegSetValueExA(key.get(), name_.c_str(), 0, previous_->first,
                         reinterpret_cast<const BYTE*>(previous_->second.data()),
                         static_cast<DWORD>(previous_->second.size()));
    } else {
        ::RegDeleteValueA(key.get(), name_.c_str());
    }
}
