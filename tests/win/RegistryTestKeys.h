#pragma once

#include "core/win/Handles.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Registry keys and values that a test writes into the prefix's registry and
// that are gone again when the guard ends, whatever the test's outcome.

// Creates `path` under `root`. At the end removes the values it set, then the
// keys of the path that it created, from the bottom up, as long as they are
// empty.
class ScopedRegistryKey {
public:
    ScopedRegistryKey(HKEY root, std::string path);
    ~ScopedRegistryKey();
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

    // Sets a value of the key with exactly these bytes.
    void setValue(const std::string& name, DWORD type, const std::string& bytes);
    // A REG_SZ value with its terminator.
    void setText(const std::string& name, const std::string& text);

    const std::string& path() const { return path_; }

private:
    HKEY root_;
    std::string path_;
    std::string created_;
    std::vector<std::string> values_;
};

// Held by each test while it writes keys: a test program of the other
// bitness shares HKEY_CURRENT_USER\SOFTWARE and the fixed key names under it,
// and would otherwise find parents there that it then cannot tell from its own.
class RegistryTestLock {
public:
    RegistryTestLock();
    ~RegistryTestLock();
    RegistryTestLock(const RegistryTestLock&) = delete;
    RegistryTestLock& operator=(const RegistryTestLock&) = delete;

private:
    KernelHandle mutex_;
};

// Sets a text value and puts back what was there before (or removes it) at
// the end; for the fixed JavaSoft "CurrentVersion" values. A key it had to
// create goes as ScopedRegistryKey's do.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, std::string keyPath, std::string name, const std::string& text);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

private:
    ScopedRegistryKey key_;
    HKEY root_;
    std::string keyPath_;
    std::string name_;
    std::optional<std::pair<DWORD, std::string>> previous_;
};

// Keys made one after another, removed in the reverse order, so that a parent
// made by the first is empty again when its guard looks at it.
class RegistryKeys {
public:
    RegistryKeys() = default;
    ~RegistryKeys() {
        while (!keys_.empty()) keys_.pop_back();
    }
    RegistryKeys(const RegistryKeys&) = delete;
    RegistryKeys& operator=(const RegistryKeys&) = delete;

    ScopedRegistryKey& add(HKEY root, const std::string& path) {
        keys_.push_back(std::make_unique<ScopedRegistryKey>(root, path));
        return *keys_.back();
    }

private:
    std::vector<std::unique_ptr<ScopedRegistryKey>> keys_;
};
