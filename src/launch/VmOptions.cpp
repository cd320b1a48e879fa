#include "launch/VmOptions.h"

#include "core/PathText.h"
#include "log/Log.h"
#include "text/CommandLine.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view kIncludePrefix = "-include-options ";
constexpr std::string_view kReplacePrefix = "-classpath ";
constexpr std::string_view kPrependPrefix = "-classpath/p ";
constexpr std::string_view kAppendPrefix = "-classpath/a ";
constexpr std::u16string_view kOptionsSuffix = u".vmoptions";
constexpr size_t kLongestText = kOptionBufferCapacity - 1;

// One read of options with the includes it leads to. The chain of files being
// read is what lets an include that would read one of them again be refused.
struct OptionsRead {
    VmOptionList& options;
    ClassPathDirectives& directives;
    const VmOptionsEnvironment& environment;
    std::vector<std::string> filesBeingRead;
    int depth = 0;
    int includedFiles = 0;
};

char foldPathCharacter(char c) { return c == '/' ? '\\' : asciiLower(c); }

// Windows file names ignore case; folding ASCII is enough here, since anything
// that slips past this comparison still meets the depth limit.
bool samePath(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldPathCharacter(x) == foldPathCharacter(y);
           });
}

bool isBeingRead(const OptionsRead& read, const std::string& path) {
    return std::any_of(read.filesBeingRead.begin(), read.filesBeingRead.end(),
                       [&](const std::string& open) { return samePath(open, path); });
}

// The text of one piece as an option: up to its first zero byte (the line is a
// C string to everything after this), without trailing line ends, without
// leading and trailing spaces.
std::string_view optionText(const std::string& piece) {
    std::string_view text(piece.c_str());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void route(OptionsRead& read, const char* baseFile, std::string_view text);

void readFile(OptionsRead& read, const char* baseFile, std::unique_ptr<LineSource> file) {
    if (!file) return;
    std::string piece;
    while (file->nextPiece(piece)) {
        const std::string_view text = optionText(piece);
        if (text.empty() || text.front() == '#') continue;
        std::string line(text);
        read.environment.expand(line);
        route(read, baseFile, line);
    }
}

void include(OptionsRead& read, const char* baseFile, std::string_view pathText) {
    if (pathText.size() > kLongestText) {
        // Cutting the path would open some other file.
        logError("vmoptions include skipped: its path of %d bytes is longer than %d", static_cast<int>(pathText.size()),
                 static_cast<int>(kLongestText));
        return;
    }
    std::string expanded(pathText);
    read.environment.expand(expanded);
    const std::string resolved = read.environment.resolve(expanded, baseFile);

    if (read.depth >= kMaxIncludeDepth) {
        logError("vmoptions include <%s> (%s) skipped: includes nest deeper than %d", resolved.c_str(),
                 expanded.c_str(), kMaxIncludeDepth);
        return;
    }
    if (isBeingRead(read, resolved)) {
        logError("vmoptions include <%s> (%s) skipped: the file is already being read", resolved.c_str(),
                 expanded.c_str());
        return;
    }
    if (read.includedFiles >= kMaxIncludedFiles) {
        logError("vmoptions include <%s> (%s) skipped: more than %d files included", resolved.c_str(),
                 expanded.c_str(), kMaxIncludedFiles);
        return;
    }

    std::unique_ptr<LineSource> file = read.environment.open(resolved);
    logMessage("adding vmoptions from <%s> (%s) (%p)", resolved.c_str(), expanded.c_str(),
               static_cast<const void*>(file.get()));
    if (!file) return;

    ++read.includedFiles;
    ++read.depth;
    read.filesBeingRead.push_back(resolved);
    readFile(read, resolved.c_str(), std::move(file));
    read.filesBeingRead.pop_back();
    --read.depth;
}

// Sets a class path directive when `text` starts with `prefix`.
bool takeDirective(std::string_view text, std::string_view prefix, std::optional<std::string>& directive) {
    if (!text.starts_with(prefix)) return false;
    directive = std::string(text.substr(prefix.size()));
    return true;
}

void route(OptionsRead& read, const char* baseFile, std::string_view text) {
    if (text.starts_with(kIncludePrefix)) {
        include(read, baseFile, text.substr(kIncludePrefix.size()));
    } else if (!takeDirective(text, kReplacePrefix, read.directives.replace) &&
               !takeDirective(text, kPrependPrefix, read.directives.prepend) &&
               !takeDirective(text, kAppendPrefix, read.directives.append)) {
        read.options.emplace_back(text);
    }
}

OptionsRead startRead(const char* baseFile, VmOptionList& options, ClassPathDirectives& directives,
                      const VmOptionsEnvironment& environment) {
    OptionsRead read{options, directives, environment, {}};
    if (baseFile != nullptr) read.filesBeingRead.emplace_back(baseFile);
    return read;
}

std::u16string optionsName(std::u16string_view stem) {
    if (stem.size() + kOptionsSuffix.size() > kLongestText) return {};
    std::u16string name(stem);
    name += kOptionsSuffix;
    return name;
}

}  // namespace

bool TextLineSource::nextPiece(std::string& piece) {
    if (position_ >= text_.size()) return false;
    const size_t limit = std::min(text_.size() - position_, kLongestText);
    const size_t newline = text_.find('\n', position_);
    const size_t length = newline != std::string::npos && newline - position_ < limit ? newline - position_ + 1 : limit;
    piece.assign(text_, position_, length);
    position_ += length;
    return true;
}

void readVmOptionsFile(const char* baseFile, std::unique_ptr<LineSource> file, VmOptionList& options,
                       ClassPathDirectives& directives, const VmOptionsEnvironment& environment) {
    OptionsRead read = startRead(baseFile, options, directives, environment);
    readFile(read, baseFile, std::move(file));
}

void readDefaultVmOptionsFile(const std::string& path, std::unique_ptr<LineSource> file, VmOptionList& options,
                              ClassPathDirectives& directives, const VmOptionsEnvironment& environment) {
    OptionsRead read = startRead(nullptr, options, directives, environment);
    if (!path.empty()) read.filesBeingRead.push_back(path);
    readFile(read, nullptr, std::move(file));
}

void handleVmOption(const char* baseFile, std::string_view text, VmOptionList& options,
                    ClassPathDirectives& directives, const VmOptionsEnvironment& environment) {
    OptionsRead read = startRead(baseFile, options, directives, environment);
    route(read, baseFile, text);
}

void splitOptionText(std::string_view text, std::vector<std::string>& out, const TextConverters& converters) {
    // The text stands for a C string.
    text = text.substr(0, text.find('\0'));
    std::u16string wide = converters.toWide(text);
    if (wide.size() > kLongestText) {
        logError("option text of %d characters cut to %d", static_cast<int>(wide.size()),
                 static_cast<int>(kLongestText));
        wide.resize(kLongestText);
    }
    std::vector<std::u16string> words;
    splitCommandLine(wide, words);
    for (const std::u16string& word : words) out.push_back(converters.toNarrow(word));
}

DefaultVmOptionsNames defaultVmOptionsNames(std::u16string_view executablePath) {
    if (executablePath.empty()) return {};
    const size_t stemLength = executablePath.size() >= 4 ? executablePath.size() - 4 : 0;
    return {optionsName(executablePath.substr(0, stemLength)), optionsName(executablePath)};
}
