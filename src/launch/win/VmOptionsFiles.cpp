#include "launch/VmOptionsFiles.h"

#include "core/win/ExecutablePath.h"
#include "core/win/Win32Text.h"
#include "log/Log.h"
#include "files/PathUtilities.h"
#include "text/VariableExpansion.h"

#include <share.h>

#include <cstdio>
#include <string_view>

namespace {

// Reads with fgets, so the C runtime's text mode and its line cutting are the
// ones every options file has always been read with.
class FileLineSource final : public LineSource {
public:
    explicit FileLineSource(FILE* file) : file_(file) {}
    ~FileLineSource() override { std::fclose(file_); }
    FileLineSource(const FileLineSource&) = delete;
    FileLineSource& operator=(const FileLineSource&) = delete;

    bool nextPiece(std::string& piece) override {
        char buffer[kOptionBufferCapacity];
        // A read error ends the file as its end would.
        if (std::fgets(buffer, sizeof buffer, file_) == nullptr) return false;
        piece.assign(buffer);
        return true;
    }

private:
    FILE* file_;
};

std::unique_ptr<LineSource> ownedSource(FILE* file) {
    if (file == nullptr) return nullptr;
    return std::make_unique<FileLineSource>(file);
}

// Shared for reading and writing, so an editor holding the file open does not
// keep the launcher from its options.
std::unique_ptr<LineSource> openShared(const std::u16string& name) {
    if (name.empty()) return nullptr;
    return ownedSource(::_wfsopen(asWide(name), L"rt", _SH_DENYNO));
}

std::u16string ansiToWide(std::string_view narrow) { return ansiToUtf16(narrow); }

std::string wideToAnsi(std::u16string_view wide) {
    std::string narrow;
    utf16ToAnsi(wide, narrow);
    return narrow;
}

DefaultVmOptionsFile opened(const std::u16string& name, std::unique_ptr<LineSource> source) {
    DefaultVmOptionsFile file{std::move(source), {}};
    if (file.source && !utf16ToPath(name, file.path)) file.path.clear();
    return file;
}

}  // namespace

DefaultVmOptionsFile openDefaultVmOptionsFile() {
    const wchar_t* executable = executablePathWide();
    const DefaultVmOptionsNames names = defaultVmOptionsNames(asUtf16(executable));

    std::unique_ptr<LineSource> file = openShared(names.besideExecutable);
    logMessage("vmoptions2: exe %S file: %S, file: %p", executable, asWide(names.besideExecutable),
               static_cast<const void*>(file.get()));
    if (file) return opened(names.besideExecutable, std::move(file));

    file = openShared(names.afterExecutable);
    logMessage("vmoptions: opts2: %S, file: %p", asWide(names.afterExecutable), static_cast<const void*>(file.get()));
    return opened(names.afterExecutable, std::move(file));
}

std::unique_ptr<LineSource> openVmOptionsFile(const std::string& path) {
    return ownedSource(std::fopen(path.c_str(), "rt"));
}

namespace {

// Only functions go in here, so these are set up before anything runs and
// need no first-use check.
const VmOptionsEnvironment kLauncherEnvironment{
    [](std::string& text) { expandVariables(text); },
    [](const std::string& path, const char* baseFile) { return resolvePath(path, baseFile); },
    openVmOptionsFile,
};

const TextConverters kAnsiConverters{ansiToWide, wideToAnsi};

}  // namespace

const VmOptionsEnvironment& launcherVmOptionsEnvironment() { return kLauncherEnvironment; }

const TextConverters& ansiTextConverters() { return kAnsiConverters; }
