#include "service/ServiceCommandLine.h"

#include "core/BufferCapacity.h"

#include <iterator>

namespace {

// In the order of ServiceCommand, from Install on.
constexpr char kCommandWords[][18] = {
    "install", "install-and-start", "install-auto", "install-demand", "uninstall", "stop", "start", "status", "restart",
};
static_assert(std::size(kCommandWords) == static_cast<size_t>(ServiceCommand::Restart));

constexpr char kNonInteractive[] = "non-interactive";
constexpr size_t kNonInteractiveLength = sizeof kNonInteractive - 1;

}  // namespace

ServiceCommandLine parseServiceCommandLine(std::string_view text) {
    ServiceCommandLine line;
    if (text.empty() || (text[0] != '/' && text[0] != '-')) return line;
    size_t start = 1;
    if (text.size() > 1 && text[1] == '-') start = 2;
    const char* words = text.data() + start;
    const size_t size = text.size() - start;

    // `blank` is the position looked at as a blank; after "non-interactive"
    // that is the character just past it, whatever it is.
    size_t wordEnd = size;
    size_t blank = std::string_view(words, size).find(' ');
    while (blank != std::string_view::npos && size - blank >= 2) {
        if (blank < wordEnd) wordEnd = blank;
        const std::string_view rest(words + blank + 1, size - blank - 1);
        if (!rest.starts_with(std::string_view(kNonInteractive, kNonInteractiveLength))) {
            line.serviceName = rest.substr(0, kBufferCapacity - 1);
            break;
        }
        line.interactive = false;
        blank += kNonInteractiveLength + 1;
    }

    const std::string_view word(words, wordEnd);
    for (size_t i = 0; i < std::size(kCommandWords); ++i) {
        if (word == kCommandWords[i]) {
            line.command = static_cast<ServiceCommand>(i + 1);
            break;
        }
    }
    return line;
}

size_t makeDependencyList(char* text, size_t length) {
    size_t listLength = 0;
    bool inName = false;
    for (size_t i = 0; i < length; ++i) {
        inName = text[i] != ',';
        // A comma ends the name before it; one after no name is dropped.
        if (inName || (listLength > 0 && text[listLength - 1] != '\0')) text[listLength++] = inName ? text[i] : '\0';
    }
    if (inName) text[listLength++] = '\0';
    if (listLength > 0) text[listLength++] = '\0';
    return listLength;
}

std::u16string serviceBinaryPath(std::u16string_view executable) {
    const size_t quoted = executable.find(u' ') == std::u16string_view::npos ? 0 : 1;
    std::u16string path(executable.size() + 2 * quoted, u'"');
    executable.copy(path.data() + quoted, executable.size());
    return path;
}
