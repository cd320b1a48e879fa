#include "service/ServiceCommandLine.h"

#include "core/BufferCapacity.h"

namespace {

struct CommandWord {
    const char* word;
    ServiceCommand command;
};

constexpr CommandWord kCommandWords[] = {
    {"install", ServiceCommand::Install},
    {"install-and-start", ServiceCommand::InstallAndStart},
    {"install-auto", ServiceCommand::InstallAuto},
    {"install-demand", ServiceCommand::InstallDemand},
    {"uninstall", ServiceCommand::Uninstall},
    {"stop", ServiceCommand::Stop},
    {"start", ServiceCommand::Start},
    {"status", ServiceCommand::Status},
};

constexpr std::string_view kNonInteractive = "non-interactive";

}  // namespace

ServiceCommandLine parseServiceCommandLine(std::string_view text) {
    ServiceCommandLine line;
    if (text.empty() || (text[0] != '/' && text[0] != '-')) return line;
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '-') text.remove_prefix(1);

    // `blank` is the position looked at as a blank; after "non-interactive"
    // that is the character just past it, whatever it is.
    size_t wordEnd = text.size();
    size_t blank = text.find(' ');
    while (blank != std::string_view::npos && text.size() - blank >= 2) {
        if (blank < wordEnd) wordEnd = blank;
        const std::string_view rest = text.substr(blank + 1);
        if (rest.substr(0, kNonInteractive.size()) != kNonInteractive) {
            line.serviceName = rest.substr(0, kBufferCapacity - 1);
            break;
        }
        line.interactive = false;
        blank += kNonInteractive.size() + 1;
    }

    const std::string_view word = text.substr(0, wordEnd);
    for (const CommandWord& known : kCommandWords) {
        if (word == known.word) {
            line.command = known.command;
            break;
        }
    }
    return line;
}

bool serviceDependencyList(std::string_view value, std::string& list) {
    // Each name takes its characters and a zero in place of the comma after
    // it; the list needs at most two characters more than the value.
    std::string names(value.size() + 2, '\0');
    size_t length = 0;
    bool inName = false;
    for (const char c : value) {
        inName = c != ',';
        if (inName || (length > 0 && names[length - 1] != '\0')) names[length++] = inName ? c : '\0';
    }
    if (length > 0) length += inName ? 2 : 1;
    if (length > kDependencyListCapacity) return false;
    names.resize(length);
    list = std::move(names);
    return true;
}

std::u16string serviceBinaryPath(std::u16string path) {
    if (path.find(u' ') != std::u16string::npos) {
        path.insert(path.begin(), u'"');
        path.push_back(u'"');
    }
    return path;
}
