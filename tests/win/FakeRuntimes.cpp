#include "FakeRuntimes.h"

#include "core/win/Handles.h"
#include "jvm/VersionRules.h"

#include <algorithm>
#include <cctype>

namespace {

bool exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

FakeRuntimes::FakeRuntimes() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    root_ = std::string(base) + "RegistrySources_" + std::to_string(::GetCurrentProcessId());
    if (::CreateDirectoryA(root_.c_str(), nullptr)) directories_.push_back(root_);
}

FakeRuntimes::~FakeRuntimes() {
    for (const std::string& file : files_) ::DeleteFileA(file.c_str());
    for (auto directory = directories_.rbegin(); directory != directories_.rend(); ++directory)
        ::RemoveDirectoryA(directory->c_str());
}

std::string FakeRuntimes::home(const std::string& name, const std::string& runtimeVersion) {
    const std::string bin = root_ + "\\" + name + "\\bin";
    for (size_t at = bin.find('\\', root_.size() + 1);; at = bin.find('\\', at + 1)) {
        const std::string directory = bin.substr(0, at);
        if (::CreateDirectoryA(directory.c_str(), nullptr)) directories_.push_back(directory);
        if (at == std::string::npos) break;
    }
    const std::string exe = bin + "\\java.exe";
    if (FileHandle(::CreateFileA(exe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)))
        files_.push_back(exe);
    if (!runtimeVersion.empty()) versions_[exe] = runtimeVersion;
    return root_ + "\\" + name;
}

std::string FakeRuntimes::acceptedPath(const std::string& home) { return lowerCase(javaExe(home)); }

CandidateChecks FakeRuntimes::checks() {
    return {[this](const std::string& home, std::string& exe) {
                homesAsked.push_back(home);
                exe = javaExe(home);
                return true;
            },
            [this](std::string& path, std::string& found, const std::string& min, const std::string& max,
                   bool allowBeta) {
                checked.push_back({path, allowBeta});
                const auto known = versions_.find(path);
                if (known == versions_.end() || !exists(path)) return false;
                if (!acceptVersion(known->second, min, max, allowBeta)) return false;
                found = known->second;
                path = lowerCase(path);
                return true;
            }};
}

std::vector<std::string> FakeRuntimes::checkedPaths() const {
    std::vector<std::string> paths;
    for (const CheckCall& call : checked) paths.push_back(call.path);
    return paths;
}
