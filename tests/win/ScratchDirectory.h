#pragma once

#include "RemoveTree.h"
#include "core/win/Handles.h"

#include <string>

// A directory of the test's own in the temporary path, removed with all it
// holds when the test ends.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "edge_test_" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchDirectory() { removeTree(path_); }
    const std::string& path() const { return path_; }

    std::string file(const std::string& name, const std::string& content = "x") const {
        const std::string full = path_ + "\\" + name;
        FileHandle handle(::CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
        DWORD written = 0;
        ::WriteFile(handle.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        return full;
    }
    std::string directory(const std::string& name) const {
        const std::string full = path_ + "\\" + name;
        ::CreateDirectoryA(full.c_str(), nullptr);
        return full;
    }

private:
    std::string path_;
};
