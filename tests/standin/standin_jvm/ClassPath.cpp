// Class lookup on the class path the launcher passed: a class exists when its
// .class file lies in a class path directory or is an entry of a class path
// archive. The content of the file never matters.
#include "standin/standin_jvm/StandinJvm.h"
#include "standin/standin_jvm/ZipDirectory.h"

#include "core/win/Handles.h"

#include <algorithm>

namespace standin {
namespace {

constexpr std::string_view kClassPathOption = "-Djava.class.path=";

// A view of a whole file, unmapped when it goes.
class MappedFile {
public:
    explicit MappedFile(const std::wstring& path) {
        FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart == 0) return;
        KernelHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping) return;
        view_ = ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
        if (view_) size_ = static_cast<size_t>(size.QuadPart);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() {
        if (view_) ::UnmapViewOfFile(view_);
    }

    std::span<const uint8_t> bytes() const { return {static_cast<const uint8_t*>(view_), size_}; }

private:
    void* view_ = nullptr;
    size_t size_ = 0;
};

bool archiveHolds(const std::wstring& archive, std::string_view entryName) {
    const MappedFile file(archive);
    ZipDirectory directory;
    return ZipDirectory::read(file.bytes(), directory) == ZipStatus::Ok && directory.contains(entryName);
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool entryHolds(std::string_view entry, std::string_view className) {
    const std::wstring path = ansiToWide(entry);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const std::string fileName = std::string(className) + ".class";
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return archiveHolds(path, fileName);

    std::wstring file = path;
    if (!file.empty() && file.back() != L'\\' && file.back() != L'/') file += L'\\';
    std::wstring relative = ansiToWide(fileName);
    std::replace(relative.begin(), relative.end(), L'/', L'\\');
    return isFile(file + relative);
}

}  // namespace

ClassLocation locateClass(const std::vector<std::string>& options, std::string_view className) {
    if (className.starts_with("java/")) return {ClassLocation::Kind::Builtin, {}};
    // As with a real JVM, the last class path option counts.
    const auto option = std::find_if(options.rbegin(), options.rend(),
                                     [](const std::string& text) { return text.starts_with(kClassPathOption); });
    if (option == options.rend()) return {};

    const std::string_view classPath = std::string_view(*option).substr(kClassPathOption.size());
    size_t start = 0;
    while (start <= classPath.size()) {
        const size_t end = std::min(classPath.find(';', start), classPath.size());
        const std::string_view entry = classPath.substr(start, end - start);
        if (!entry.empty() && entryHolds(entry, className)) {
            return {ClassLocation::Kind::OnClassPath, std::string(entry)};
        }
        start = end + 1;
    }
    return {};
}

}  // namespace standin
