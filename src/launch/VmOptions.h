#pragma once

#include "core/BufferCapacity.h"
#include "core/Callback.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// JVM options from option texts, .vmoptions files and "-J" arguments. Narrow
// texts are in the ANSI code page; nothing here touches the system: files,
// variable expansion, path resolution and code page conversion come in
// through the small interfaces below, so that tests and fuzzers supply their own.

// One JVM option per element, in the order found. The launcher keeps them until
// it ends, since the JVM holds on to the option strings.
using VmOptionList = std::vector<std::string>;

// Class path directives met while reading options; the last one of each kind wins.
struct ClassPathDirectives {
    std::optional<std::string> replace;  // "-classpath "
    std::optional<std::string> prepend;  // "-classpath/p "
    std::optional<std::string> append;   // "-classpath/a "
};

// Line and path buffers of the launcher hold this many bytes (or wide
// characters) including the terminator.
inline constexpr size_t kOptionBufferCapacity = kBufferCapacity;

// Includes nest at most this deep below the text that starts reading.
inline constexpr int kMaxIncludeDepth = 16;
// At most this many files are included below one option text or file read:
// within the depth limit a few files that include each other could otherwise
// fan out into more reads than any machine finishes.
inline constexpr int kMaxIncludedFiles = 64;

// An open options file, read the way fgets reads a text-mode file into a
// buffer of kOptionBufferCapacity bytes. Destroying the source closes the file.
class LineSource {
public:
    virtual ~LineSource() = default;
    // Replaces `piece` with the next piece of the file: the bytes up to and
    // including the next '\n', but never more than kOptionBufferCapacity - 1
    // bytes, so a longer line arrives in several pieces. False at the end of
    // the file and after a read error.
    virtual bool nextPiece(std::string& piece) = 0;
};

// A file's content held in memory, cut into pieces as fgets would cut it.
class TextLineSource : public LineSource {
public:
    explicit TextLineSource(std::string text) : text_(std::move(text)) {}
    bool nextPiece(std::string& piece) override;

private:
    std::string text_;
    size_t position_ = 0;
};

// What reading options needs from the system.
struct VmOptionsEnvironment {
    // Expands the variables of a text in place, within kOptionBufferCapacity bytes.
    Callback<void(std::string& text)> expand;
    // A relative path made absolute against the directory of `baseFile`, or
    // against the launcher's directory when `baseFile` is null.
    Callback<std::string(const std::string& path, const char* baseFile)> resolve;
    // Opens an options file for reading; null when it does not open.
    Callback<std::unique_ptr<LineSource>(const std::string& path)> open;
};

// Conversions between the ANSI code page and UTF-16.
struct TextConverters {
    Callback<std::u16string(std::string_view narrow)> toWide;
    Callback<std::string(std::u16string_view wide)> toNarrow;
};

// Reads `file` to its end and closes it; nothing happens for a null file.
// Each piece loses its trailing CR and LF characters, then its leading and
// trailing spaces (tabs stay); an empty piece or one that begins with "#" is
// skipped, any other is expanded and goes to handleVmOption. Quotes and
// byte-order marks mean nothing here. `baseFile` is the path of the file, or
// null for the launcher's default file.
void readVmOptionsFile(const char* baseFile, std::unique_ptr<LineSource> file, VmOptionList& options,
                       ClassPathDirectives& directives, const VmOptionsEnvironment& environment);

// The launcher's default options file, read as readVmOptionsFile reads a file
// with no base file (its includes resolve against the launcher's directory),
// with `path` counted among the files being read: a default file that
// includes itself is refused at the first include.
void readDefaultVmOptionsFile(const std::string& path, std::unique_ptr<LineSource> file, VmOptionList& options,
                              ClassPathDirectives& directives, const VmOptionsEnvironment& environment);

// Routes one option text: "-include-options <path>" reads another file in
// place of the text (the path expanded, then resolved against the directory of
// `baseFile`, or of the launcher when it is null), the three "-classpath"
// directives set their value, and any other text is one JVM option. Prefixes
// are case-sensitive.
void handleVmOption(const char* baseFile, std::string_view text, VmOptionList& options,
                    ClassPathDirectives& directives, const VmOptionsEnvironment& environment);

// Splits an option text into words as splitCommandLine does, through UTF-16.
// A text longer than kOptionBufferCapacity - 1 wide characters is cut there
// (and the cut logged), as the launcher's conversion buffer holds no more.
void splitOptionText(std::string_view text, std::vector<std::string>& out, const TextConverters& converters);

// The two names of a launcher's default options file, in the order they are
// tried: the launcher path with its last four characters (its ".exe") replaced
// by ".vmoptions", then the whole path followed by ".vmoptions". A name that
// would not fit kOptionBufferCapacity wide characters is empty: it is not tried.
struct DefaultVmOptionsNames {
    std::u16string besideExecutable;
    std::u16string afterExecutable;
};
DefaultVmOptionsNames defaultVmOptionsNames(std::u16string_view executablePath);
