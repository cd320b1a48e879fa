#include "ConfigurationText.h"

#include "AnsiText.h"
#include "ByteSize.h"
#include "Durations.h"
#include "Utf.h"
#include "core/ConfigKeys.h"
#include "core/LauncherState.h"
#include "core/MessageNames.h"
#include "core/PayloadValues.h"
#include "core/ConfigStore.h"
#include "service/ServiceSettings.h"

#include <charconv>
#include <map>
#include <optional>
#include <vector>

namespace generator {
namespace {

std::string escapedBasic(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (byte < 0x20 || byte == 0x7F) out += std::string("\\u00") + kHex[byte >> 4] + kHex[byte & 15];
        else out += c;
    }
    return out + "\"";
}

// Narrow values as the file holds them: the record's last value of each key.
class Values {
public:
    explicit Values(const payload::ConfigurationRecord& record) {
        for (const auto& entry : record.narrowEntries) narrow_[entry.key] = ansiToUtf8(entry.value);
        for (const auto& entry : record.wideEntries) wide_[entry.key] = utf16ToUtf8(entry.value);
    }
    // Takes the value out, so whatever is left at the end goes to [raw].
    std::optional<std::string> take(int32_t key) {
        const auto found = narrow_.find(key);
        if (found == narrow_.end()) return std::nullopt;
        std::string value = std::move(found->second);
        narrow_.erase(found);
        return value;
    }
    std::optional<std::string> takeWide(int32_t key) {
        const auto found = wide_.find(key);
        if (found == wide_.end()) return std::nullopt;
        std::string value = std::move(found->second);
        wide_.erase(found);
        return value;
    }
    const std::string* peek(int32_t key) const {
        const auto found = narrow_.find(key);
        return found == narrow_.end() ? nullptr : &found->second;
    }
    void putBack(int32_t key, std::string value) { narrow_[key] = std::move(value); }
    const std::map<int32_t, std::string>& narrowLeft() const { return narrow_; }
    const std::map<int32_t, std::string>& wideLeft() const { return wide_; }

private:
    std::map<int32_t, std::string> narrow_;
    std::map<int32_t, std::string> wide_;
};

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::string line(std::string_view name, const std::string& value) { return std::string(name) + " = " + value + "\n"; }

std::string stringArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + tomlString(items[i]);
    return out + "]";
}

// The options text split back into the options that readVm joined: blanks
// separate, double quotes group. Anything else is left to [raw].
std::optional<std::vector<std::string>> splitVmOptions(std::string_view text) {
    std::vector<std::string> options;
    std::string current;
    bool quoted = false, any = false;
    for (const char c : text) {
        if (c == '\\') return std::nullopt;
        if (c == '"') quoted = !quoted, any = true;
        else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) options.push_back(current);
            current.clear();
            any = false;
        } else current += c, any = true;
    }
    if (quoted) return std::nullopt;
    if (any) options.push_back(current);
    return options;
}

// The stop timeout, the delayed start and the failure actions; a value of
// another form stays for [raw].
std::string serviceSettings(Values& values) {
    std::string out;
    if (auto v = values.take(config::kServiceStopTimeout)) {
        const int32_t seconds = parseConfigInt(*v);
        if (std::to_string(seconds) == *v && seconds >= 1 && static_cast<uint32_t>(seconds) <= kMaxStopTimeoutSeconds)
            out += line("stopTimeout", *v);
        else
            values.putBack(config::kServiceStopTimeout, *v);
    }
    if (auto v = values.take(config::kServiceDelayedAutoStart)) {
        if (*v == "0" || *v == "1") out += line("delayedAutoStart", *v == "1" ? "true" : "false");
        else values.putBack(config::kServiceDelayedAutoStart, *v);
    }
    if (auto v = values.take(config::kServiceFailureActions)) {
        const std::optional<FailureActions> parsed = parseFailureActions(*v);
        std::vector<std::string> actions;
        for (uint32_t i = 0; parsed && i < parsed->count; ++i) {
            const FailureAction& action = parsed->actions[i];
            if (action.type == kFailureActionNone && action.delayMs == 0) actions.push_back("none");
            else if (action.type == kFailureActionRestart && action.delayMs % 1000 == 0)
                actions.push_back("restart " + durationText(action.delayMs / 1000));
        }
        if (parsed && actions.size() == parsed->count)
            out += "[service.onFailure]\n" + line("actions", stringArray(actions)) +
                   line("resetAfter", tomlString(durationText(parsed->resetSeconds)));
        else
            values.putBack(config::kServiceFailureActions, *v);
    }
    return out;
}

// The value of "-D<property>=<value>" when the option sets that property to
// a number written as readLogs writes it.
std::optional<int64_t> propertyNumber(std::string_view option, std::string_view property) {
    const std::string prefix = systemPropertyPrefix(property);
    if (!option.starts_with(prefix)) return std::nullopt;
    const std::string_view digits = option.substr(prefix.size());
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || std::to_string(value) != digits)
        return std::nullopt;
    return value;
}

struct LogLimit {
    int64_t maxSize;
    int64_t keep;
};

// The log limit that readLogs puts after the [vm] options, taken off their
// end when it is there in the form readLogs writes; otherwise the options
// stay as they are.
std::optional<LogLimit> takeLogLimit(std::vector<std::string>& options) {
    if (options.size() < 2) return std::nullopt;
    const auto maxSize = propertyNumber(options[options.size() - 2], kLogMaxSizeProperty);
    const auto keep = propertyNumber(options.back(), kLogKeepProperty);
    if (!maxSize || !keep || *maxSize <= 0 || *keep < 1 || *keep > kMostLogsKept) return std::nullopt;
    options.resize(options.size() - 2);
    return LogLimit{*maxSize, *keep};
}

}  // namespace

std::string tomlString(std::string_view text) {
    for (const char c : text)
        if (c == '\'' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return escapedBasic(text);
    if (text.find('\\') != std::string_view::npos) return "'" + std::string(text) + "'";
    return escapedBasic(text);
}

std::string describeConfiguration(const payload::LauncherContents& contents, LauncherProgram program) {
    using namespace config;
    Values values(contents.record);
    std::string out;

    // [application]
    out += "[application]\n";
    if (auto v = values.take(kApplicationName)) out += line("name", tomlString(*v));
    if (auto v = values.take(kMainClass)) out += line("mainClass", tomlString(*v));
    if (auto v = values.take(kApplicationArguments)) out += line("arguments", tomlString(*v));
    if (auto v = values.take(kWorkingDirectory)) out += line("workingDirectory", tomlString(*v));
    if (auto v = values.take(kApplicationDirectory)) out += line("directory", tomlString(*v));
    if (auto v = values.take(kFlavor)) {
        if (*v == std::string(1, kZelkorFlavor)) out += line("flavor", "\"zelkor\"");
        else if (*v == std::string(1, kBrantelFlavor)) out += line("flavor", "\"brantel\"");
        else values.putBack(kFlavor, *v);
    }
    if (auto v = values.take(kDashJArgumentsAreJvmOptions)) {
        if (*v == "0" || *v == "1") out += line("dashJArguments", *v == "1" ? "true" : "false");
        else values.putBack(kDashJArgumentsAreJvmOptions, *v);
    }
    if (auto v = values.take(kNativeLibraryDirectories)) out += line("nativeLibraryDirectories", stringArray(split(*v, ';')));
    {
        const std::string* single = values.peek(kSingleInstance);
        const std::string* global = values.peek(kGlobalSingleInstance);
        if (single && *single == "1" && (!global || *global == "0" || *global == "1")) {
            out += line("singleInstance", global && *global == "1" ? "\"global\"" : "\"local\"");
            values.take(kSingleInstance);
            values.take(kGlobalSingleInstance);
        }
    }
    // Key 107 follows from the template and the service's start type.
    std::optional<std::string> kind = values.take(kLauncherKind);
    const std::string manualStart = std::to_string(kLauncherKindQuiet);
    const bool kindMatches = program == LauncherProgram::Gui
                                 ? kind == std::to_string(kLauncherKindGui)
                                 : (kind == std::to_string(kLauncherKindService) || kind == manualStart);
    if (!kindMatches && kind) values.putBack(kLauncherKind, *kind);

    // [[classPath]]
    if (auto v = values.take(kClassPath)) {
        std::string entries;
        for (const std::string& entry : split(*v, kEntrySeparator)) {
            const EntryForm* form = entry.size() >= 3 ? findEntryForm(kClassPathForms, entry[0]) : nullptr;
            if (!form || (entry[1] != kClassPathOptional && entry[1] != kClassPathRequired)) {
                entries.clear();
                values.putBack(kClassPath, *v);
                break;
            }
            entries += "\n[[classPath]]\nkind = \"" + std::string(form->name) + "\"\n";
            entries += line(entryArgumentName(form->argument), tomlString(entry.substr(2)));
            if (entry[1] == kClassPathRequired) entries += "required = true\n";
        }
        out += entries;
    }

    // [files]: the sources are not known any more, only names and sizes.
    out += "\n[files]\nbootstrapJar = false\n";
    values.take(kEmbeddedFileCount);
    values.take(kEmbeddedFileNames);
    for (const payload::EmbeddedRecord& file : contents.embeddedFiles) {
        out += "[[files.embed]]\n" + line("name", tomlString(file.name));
        out += "source = " + tomlString("embedded/" + file.name) + "  # " + std::to_string(file.size) +
               " bytes in the launcher\n";
    }

    // [java]
    out += "\n[java]\n";
    if (auto v = values.take(kJvmSearchSequence)) {
        std::string sources;
        bool readable = true;
        const std::vector<std::string> entries = split(*v, kEntrySeparator);
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::string& entry = entries[i];
            const std::string argument = entry.substr(1);
            // "registry" writes both registry sources; a JavaSoft entry alone has no kind.
            if (entry == std::string(1, kSearchRegistry)) {
                if (i + 1 == entries.size() || entries[i + 1] != std::string(1, kSearchVendorRegistry)) readable = false;
                ++i;
            }
            const bool alwaysFallback = entry[0] == kSearchDirectoryAlwaysFallback;
            const EntryForm* form = findEntryForm(kSearchForms, alwaysFallback ? kSearchDirectory : entry[0]);
            // A source without an argument takes none; every other needs one.
            if (!form || argument.empty() != (form->argument == EntryArgument::None)) {
                readable = false;
                continue;
            }
            sources += "  { kind = \"" + std::string(form->name) + "\"";
            if (!argument.empty())
                sources += ", " + std::string(entryArgumentName(form->argument)) + " = " + tomlString(argument);
            sources += alwaysFallback ? ", fallbackAlways = true },\n" : " },\n";
        }
        if (readable) out += "search = [\n" + sources + "]\n";
        else values.putBack(kJvmSearchSequence, *v);
    } else {
        out += "search = []\n";
    }
    if (auto v = values.take(kMinVersion)) out += line("minVersion", tomlString(*v));
    if (auto v = values.take(kMaxVersion)) out += line("maxVersion", tomlString(*v));
    for (const auto& [key, name] : {std::pair{kAllowPrereleaseJvm, "allowPrerelease"}, {kRequireJdk, "requireJdk"}}) {
        if (auto v = values.take(key)) {
            if (*v == "0" || *v == "1") out += line(name, *v == "1" ? "true" : "false");
            else values.putBack(key, *v);
        }
    }
    if (auto v = values.take(kPreferredJvmDllDirectory)) out += line("jvmSubdirectory", tomlString(*v));
    if (auto v = values.take(kPreviousInstallDirectoriesValue)) out += line("previousInstallationsValue", tomlString(*v));

    // [vm], and the log limit that [logs] added to its options
    std::optional<LogLimit> logLimit;
    if (auto v = values.take(kVmOptions)) {
        if (auto options = splitVmOptions(*v)) {
            logLimit = takeLogLimit(*options);
            if (!logLimit || !options->empty()) out += "\n[vm]\n" + line("options", stringArray(*options));
        } else {
            values.putBack(kVmOptions, *v);
        }
    }

    // [messages]
    out += "\n[messages]\n";
    for (const KeyInfo& info : keyCatalogue()) {
        if (!isMessageKey(info.key)) continue;
        if (auto v = values.take(info.key)) out += line(messageName(info), escapedBasic(*v));
    }

    // [service]
    if (program == LauncherProgram::Service) {
        out += "\n[service]\n";
        if (kind) out += line("startType", *kind == manualStart ? "\"manual\"" : "\"automatic\"");
        if (auto v = values.takeWide(kServiceDescription)) out += line("description", tomlString(*v));
        if (auto v = values.take(kServiceDependencies)) out += line("dependencies", stringArray(split(*v, ',')));
        out += serviceSettings(values);
        for (const payload::LocaleSection& section : contents.record.localeSections) {
            std::string texts;
            for (const payload::WideEntry& entry : section.entries) {
                if (entry.key == kServiceDescription) texts = line("serviceDescription", tomlString(utf16ToUtf8(entry.value)));
                else texts.clear();
            }
            out += "[translations." + tomlString(section.prefix) + "]\n" + texts;
        }
    }

    // [gui]
    if (program == LauncherProgram::Gui) {
        std::string gui;
        const std::string* all = values.peek(kAcceptQuietAndConsoleSwitches);
        const std::string* console = values.peek(kAcceptConsoleSwitch);
        if (all && console && (*all == "0" || *all == "1") && (*console == "0" || *console == "1")) {
            gui += line("consoleSwitches", *all == "1" ? "\"all\"" : *console == "1" ? "\"console\"" : "\"none\"");
            values.take(kAcceptQuietAndConsoleSwitches);
            values.take(kAcceptConsoleSwitch);
        }
        const std::string* show = values.peek(kShowSplashScreen);
        const std::string* enabled = values.peek(kSplashScreenEnabled);
        if (show && enabled && *show == *enabled && (*show == "0" || *show == "1")) {
            gui += line("splash", *show == "1" ? "true" : "false");
            values.take(kShowSplashScreen);
            values.take(kSplashScreenEnabled);
        }
        if (!gui.empty()) out += "\n[gui]\n" + gui;
    }

    // [logs]
    {
        std::string logs;
        for (const auto& [pass, file, name] : {std::tuple{kPassErrorFile, kErrorFile, "errorFile"},
                                               {kPassOutputFile, kOutputFile, "outputFile"}}) {
            const std::string* passed = values.peek(pass);
            if (passed && *passed == "1" && values.peek(file)) {
                logs += line(name, tomlString(*values.take(file)));
                values.take(pass);
            }
        }
        if (logLimit) {
            // A size without a unit is a plain integer.
            const std::string size = byteSizeText(logLimit->maxSize);
            logs += line("maxSize", size == std::to_string(logLimit->maxSize) ? size : tomlString(size));
            logs += line("keep", std::to_string(logLimit->keep));
        }
        if (!logs.empty()) out += "\n[logs]\n" + logs;
    }

    // [raw]: everything left, by catalogue name where there is one.
    if (!values.narrowLeft().empty() || !values.wideLeft().empty()) {
        out += "\n[raw]\n";
        for (const auto* left : {&values.narrowLeft(), &values.wideLeft()}) {
            for (const auto& [key, value] : *left) {
                const KeyInfo* info = findKey(key);
                out += line(info ? std::string(info->name) : std::to_string(key), tomlString(value));
            }
        }
    }
    return out;
}

}  // namespace generator
