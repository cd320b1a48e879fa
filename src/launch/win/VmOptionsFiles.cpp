#include "launch/VmOptionsFiles.h"

#include "core/WinApi.h"
#include "core/win/ExecutablePath.h"
#include "diag/Log.h"
#include "files/PathUtilities.h"
#include "launch/VariableExpansion.h"

#include <share.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W functions take UTF-16");

const wchar_t* asWide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

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

// The launcher's buffers hold one line or path: a longer text is cut to fit
// before expansion, which keeps within the same buffer.
void expandInLineBuffer(std::string& text) {
    char buffer[kOptionBufferCapacity];
    const size_t length = std::min(text.size(), kOptionBufferCapacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    expandVariables(buffer, sizeof buffer);
    text.assign(buffer);
}

int boundedLength(size_t length) { return static_cast<int>(std::min<size_t>(length, INT_MAX)); }

std::u16string ansiToWide(std::string_view narrow) {
    const int narrowLength = boundedLength(narrow.size());
    if (narrowLength == 0) return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), narrowLength, nullptr, 0);
    if (length <= 0) return {};
    std::u16string wide(static_cast<size_t>(length), u'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), narrowLength,
                                              reinterpret_cast<wchar_t*>(wide.data()), length);
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return wide;
}

std::string wideToAnsi(std::u16string_view wide) {
    const int wideLength = boundedLength(wide.size());
    if (wideLength == 0) return {};
    const wchar_t* source = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = ::WideCharToMultiByte(CP_ACP, 0, source, wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, 0, source, wideLength, narrow.data(), length, nullptr, nullptr);
    narrow.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return narrow;
}

}  // namespace

std::unique_ptr<LineSource> openDefaultVmOptionsFile() {
    const wchar_t* executable = executablePathWide();
    const std::wstring_view executableView(executable);
    const DefaultVmOptionsNames names =
        defaultVmOptionsNames(std::u16string(executableView.begin(), executableView.end()));

    std::unique_ptr<LineSource> file = openShared(names.besideExecutable);
    logMessage("vmoptions2: exe %S file: %S, file: %p", executable, asWide(names.besideExecutable),
               static_cast<const void*>(file.get()));
    if (file) return file;

    file = openShared(names.afterExecutable);
    logMessage("vmoptions: opts2: %S, file: %p", asWide(names.afterExecutable), static_cast<const void*>(file.get()));
    return file;
}

std::unique_ptr<LineSource> openVmOptionsFile(const std::string& path) {
    return ownedSource(std::fopen(path.c_str(), "rt"));
}

const VmOptionsEnvironment& launcherVmOptionsEnvironment() {
    static const VmOptionsEnvironment environment{
        expandInLineBuffer,
        [](const std::string& path, const char* baseFile) { return resolvePath(path, baseFile); },
        openVmOptionsFile,
    };
    return environment;
}

const TextConverters& ansiTextConverters() {
    static const TextConverters converters{ansiToWide, wideToAnsi};
    return converters;
}
