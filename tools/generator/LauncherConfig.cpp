#include "LauncherConfig.h"

#include "AnsiText.h"
#include "Utf.h"
#include "core/ConfigKeys.h"
#include "core/LauncherState.h"

#include "Toml.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <initializer_list>
#include <iterator>

namespace generator {
namespace {

using payload::LauncherPayload;

// Version texts share the 64 KiB of one version resource.
constexpr size_t kVersionTextCapacity = 1024;

constexpr std::string_view kDefaultSearchSequence = "Y;EJAVA_HOME;EJDK_HOME;";

std::string_view typeName(const toml::node& node) {
    switch (node.type()) {
        case toml::node_type::table: return "a table";
        case toml::node_type::array: return "an array";
        case toml::node_type::string: return "a string";
        case toml::node_type::integer: return "an integer";
        case toml::node_type::floating_point: return "a number";
        case toml::node_type::boolean: return "a boolean";
        default: return "a date or time";
    }
}

// The message name in the file: the catalogue name without "message",
// starting in lower case ("messageErrorCaption" -> "errorCaption").
std::string messageFieldName(const config::KeyInfo& info) {
    std::string name(info.name.substr(7));
    name[0] = static_cast<char>(name[0] - 'A' + 'a');
    return name;
}

bool messageTakesDetail(const config::KeyInfo& info) { return info.shippedText.find("{0}") != std::string_view::npos; }

// Only "{0}" is filled in, once, and only in the messages that are given a detail.
bool checkPlaceholders(std::string_view text, bool takesDetail, std::string& problem) {
    int zeros = 0;
    for (size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
        size_t end = open + 1;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        if (end == open + 1 || end >= text.size() || text[end] != '}') continue;
        const std::string_view placeholder = text.substr(open, end - open + 1);
        if (placeholder != "{0}") {
            problem = "placeholder \"" + std::string(placeholder) + "\" is never filled in; only \"{0}\" is";
            return false;
        }
        ++zeros;
    }
    if (zeros > 0 && !takesDetail) {
        problem = "this message is shown without a detail, so \"{0}\" would appear as it is";
        return false;
    }
    if (zeros > 1) {
        problem = "only the first \"{0}\" is filled in";
        return false;
    }
    return true;
}

class Reader {
public:
    Reader(const ReadOptions& options, std::string& error) : options_(options), error_(error) {}

    bool read(const toml::table& root);
    LauncherPayload result;

private:
    bool fail(const toml::source_region& where, const std::string& message) {
        const auto line = where.begin.line ? where.begin.line : 1;
        const auto column = where.begin.column ? where.begin.column : 1;
        error_ = options_.sourceName + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
        return false;
    }
    bool fail(const toml::node& node, const std::string& message) { return fail(node.source(), message); }

    bool onlyFields(const toml::table& table, std::string_view section, std::initializer_list<std::string_view> fields) {
        for (auto&& [key, node] : table) {
            if (std::find(fields.begin(), fields.end(), key.str()) == fields.end())
                return fail(key.source(), "unknown field \"" + std::string(key.str()) + "\" in " + std::string(section));
        }
        return true;
    }

    const toml::table* section(const toml::table& parent, std::string_view name, bool& ok) {
        const toml::node* node = parent.get(name);
        if (!node) return nullptr;
        if (!node->is_table()) ok = fail(*node, std::string(name) + " must be a table, not " + std::string(typeName(*node)));
        return node->as_table();
    }

    // A field of the expected type, or absent (nullptr without error).
    template <typename T>
    const toml::value<T>* field(const toml::table& table, std::string_view name, std::string_view expected, bool& ok) {
        const toml::node* node = table.get(name);
        if (!node || !ok) return nullptr;
        const toml::value<T>* value = node->as<T>();
        if (!value)
            ok = fail(*node, std::string(name) + " must be " + std::string(expected) + ", not " +
                                 std::string(typeName(*node)));
        return value;
    }
    const toml::value<std::string>* text(const toml::table& t, std::string_view name, bool& ok) {
        return field<std::string>(t, name, "a string", ok);
    }
    const toml::value<bool>* flag(const toml::table& t, std::string_view name, bool& ok) {
        return field<bool>(t, name, "true or false", ok);
    }

    // One of `choices`; returns its index, `fallback` when absent, -1 on error.
    int choice(const toml::table& t, std::string_view name, std::initializer_list<std::string_view> choices, int fallback,
               bool& ok) {
        const auto* value = text(t, name, ok);
        if (!ok) return -1;
        if (!value) return fallback;
        const auto found = std::find(choices.begin(), choices.end(), value->get());
        if (found != choices.end()) return static_cast<int>(found - choices.begin());
        std::string list;
        for (std::string_view c : choices) list += (list.empty() ? "\"" : ", \"") + std::string(c) + "\"";
        ok = fail(*value, std::string(name) + " \"" + value->get() + "\" is not one of " + list);
        return -1;
    }

    bool stringArray(const toml::table& t, std::string_view name, std::vector<const toml::value<std::string>*>& items,
                     bool& present) {
        const toml::node* node = t.get(name);
        present = node != nullptr;
        if (!node) return true;
        const toml::array* array = node->as_array();
        if (!array) return fail(*node, std::string(name) + " must be an array of strings, not " + std::string(typeName(*node)));
        for (const toml::node& item : *array) {
            if (!item.is_string())
                return fail(item, std::string(name) + " must hold strings only, not " + std::string(typeName(item)));
            items.push_back(item.as_string());
        }
        return true;
    }

    bool noneOf(const toml::node& where, std::string_view value, std::string_view forbidden, std::string_view what) {
        const size_t at = value.find_first_of(forbidden);
        if (at == std::string_view::npos) return true;
        return fail(where, std::string(what) + " must not contain \"" + value[at] + "\": it separates entries");
    }

    // Narrow values: Windows-1252, within the launcher's buffer.
    bool setNarrow(int32_t key, std::string_view utf8, const toml::source_region& where,
                   size_t capacity = kValueCapacity) {
        std::string ansi, bad;
        if (!utf8ToAnsi(utf8, ansi, bad))
            return fail(where, "\"" + bad + "\" cannot be written in the launcher's ANSI code page (Windows-1252)");
        if (ansi.size() > capacity)
            return fail(where, "text of " + std::to_string(ansi.size()) + " bytes is longer than the launcher's " +
                                   std::to_string(capacity) + " and would be cut at run time");
        auto& entries = result.record.narrowEntries;
        const auto same = std::find_if(entries.begin(), entries.end(), [key](const auto& e) { return e.key == key; });
        if (same != entries.end()) same->value = std::move(ansi);
        else entries.push_back({key, std::move(ansi)});
        return true;
    }
    bool setNarrow(int32_t key, const toml::value<std::string>& value, size_t capacity = kValueCapacity) {
        return setNarrow(key, value.get(), value.source(), capacity);
    }
    bool setFlag(int32_t key, bool on, const toml::source_region& where) { return setNarrow(key, on ? "1" : "0", where); }

    bool wideValue(std::string_view utf8, const toml::source_region& where, std::u16string& wide) {
        wide = utf8ToUtf16(utf8);
        if (wide.size() > kValueCapacity)
            return fail(where, "text of " + std::to_string(wide.size()) + " characters is longer than the launcher's " +
                                   std::to_string(kValueCapacity) + " and would be cut at run time");
        return true;
    }
    bool setWide(int32_t key, std::string_view utf8, const toml::source_region& where) {
        std::u16string wide;
        if (!wideValue(utf8, where, wide)) return false;
        auto& entries = result.record.wideEntries;
        const auto same = std::find_if(entries.begin(), entries.end(), [key](const auto& e) { return e.key == key; });
        if (same != entries.end()) same->value = std::move(wide);
        else entries.push_back({key, std::move(wide)});
        return true;
    }

    bool readApplication(const toml::table& root);
    bool readService(const toml::table& root);
    bool readClassPath(const toml::table& root);
    bool readFiles(const toml::table& root);
    bool readJava(const toml::table& root);
    bool readVm(const toml::table& root);
    bool readMessages(const toml::table& root);
    bool readGui(const toml::table& root);
    bool readLogs(const toml::table& root);
    bool readResources(const toml::table& root);
    bool readResourceFile(const toml::value<std::string>& name, std::string_view what, std::vector<uint8_t>& bytes);
    std::filesystem::path resolve(const std::filesystem::path& source) const {
        return source.is_absolute() ? source : options_.baseDirectory / source;
    }
    bool readTranslations(const toml::table& root);
    bool readRaw(const toml::table& root);
    bool embed(std::string name, const std::filesystem::path& source, const toml::source_region& where);

    const ReadOptions& options_;
    std::string& error_;
    const toml::value<std::string>* applicationName_ = nullptr;
};

bool Reader::read(const toml::table& root) {
    if (!onlyFields(root, "the file", {"application", "classPath", "files", "java", "vm", "messages", "service", "gui",
                                       "logs", "resources", "translations", "raw"}))
        return false;
    return readApplication(root) && readService(root) && readClassPath(root) && readFiles(root) && readJava(root) &&
           readVm(root) && readMessages(root) && readGui(root) && readResources(root) && readLogs(root) && readTranslations(root) &&
           readRaw(root);
}

bool Reader::readApplication(const toml::table& root) {
    bool ok = true;
    const toml::table* app = section(root, "application", ok);
    if (!ok) return false;
    if (!app) return fail(root.source(), "missing [application] with its mainClass");
    if (!onlyFields(*app, "[application]", {"name", "mainClass", "arguments", "workingDirectory", "directory", "flavor",
                                            "dashJArguments", "nativeLibraryDirectories", "singleInstance"}))
        return false;
    const auto* mainClass = text(*app, "mainClass", ok);
    if (!ok) return false;
    if (!mainClass || mainClass->get().empty()) return fail(mainClass ? mainClass->source() : app->source(),
                                                            "[application] needs a mainClass");
    applicationName_ = text(*app, "name", ok);
    const int flavor = choice(*app, "flavor", {"zelkor", "brantel"}, 0, ok);
    const int instance = choice(*app, "singleInstance", {"none", "local", "global"}, 0, ok);
    const auto* arguments = text(*app, "arguments", ok);
    const auto* workingDirectory = text(*app, "workingDirectory", ok);
    const auto* directory = text(*app, "directory", ok);
    const auto* dashJ = flag(*app, "dashJArguments", ok);
    std::vector<const toml::value<std::string>*> natives;
    bool hasNatives = false;
    if (!ok || !stringArray(*app, "nativeLibraryDirectories", natives, hasNatives)) return false;

    const int kind = options_.program == LauncherProgram::Gui ? 1 : 4;  // a service's start type may change it
    if (!setNarrow(config::kLauncherKind, std::to_string(kind), app->source())) return false;
    const char flavorLetter = flavor == 0 ? kZelkorFlavor : kBrantelFlavor;
    if (!setNarrow(config::kFlavor, std::string(1, flavorLetter), app->source())) return false;
    if (applicationName_ && !setNarrow(config::kApplicationName, *applicationName_)) return false;
    if (!setNarrow(config::kMainClass, *mainClass)) return false;
    if (arguments && !setNarrow(config::kApplicationArguments, *arguments)) return false;
    if (workingDirectory && !setNarrow(config::kWorkingDirectory, *workingDirectory)) return false;
    if (directory && !setNarrow(config::kApplicationDirectory, *directory)) return false;
    if (dashJ && !setFlag(config::kDashJArgumentsAreJvmOptions, dashJ->get(), dashJ->source())) return false;
    if (hasNatives) {
        std::string joined;
        for (const auto* item : natives) {
            if (!noneOf(*item, item->get(), ";", "a native library directory")) return false;
            joined += (joined.empty() ? "" : ";") + item->get();
        }
        if (!setNarrow(config::kNativeLibraryDirectories, joined, app->get("nativeLibraryDirectories")->source()))
            return false;
    }
    if (instance > 0) {
        if (!setFlag(config::kSingleInstance, true, app->get("singleInstance")->source())) return false;
        if (!setFlag(config::kGlobalSingleInstance, instance == 2, app->get("singleInstance")->source())) return false;
    }
    return true;
}

bool Reader::readService(const toml::table& root) {
    bool ok = true;
    const toml::table* service = section(root, "service", ok);
    if (!service) return ok;
    if (!onlyFields(*service, "[service]", {"name", "description", "dependencies", "startType"})) return false;
    if (options_.program != LauncherProgram::Service)
        return fail(service->source(), "[service] needs the service launcher template");
    const auto* name = text(*service, "name", ok);
    const auto* description = text(*service, "description", ok);
    const int startType = choice(*service, "startType", {"automatic", "manual"}, 0, ok);
    std::vector<const toml::value<std::string>*> dependencies;
    bool hasDependencies = false;
    if (!ok || !stringArray(*service, "dependencies", dependencies, hasDependencies)) return false;
    if (name) {
        if (applicationName_ && applicationName_->get() != name->get())
            return fail(*name, "the service name is the application name; give it once");
        if (!setNarrow(config::kApplicationName, *name)) return false;
    }
    // The service launcher installs with the automatic start type only for kind 4.
    if (startType == 1 && !setNarrow(config::kLauncherKind, "0", service->source())) return false;
    if (description && !setWide(config::kServiceDescription, description->get(), description->source())) return false;
    if (hasDependencies) {
        std::string joined;
        for (const auto* item : dependencies) {
            if (item->get().empty()) return fail(*item, "a service dependency must not be empty");
            if (!noneOf(*item, item->get(), ",", "a service dependency")) return false;
            joined += (joined.empty() ? "" : ",") + item->get();
        }
        if (!setNarrow(config::kServiceDependencies, joined, service->get("dependencies")->source())) return false;
    }
    return true;
}

bool Reader::readClassPath(const toml::table& root) {
    const toml::node* node = root.get("classPath");
    if (!node) return true;
    const toml::array* entries = node->as_array();
    if (!entries) return fail(*node, "classPath must be an array of tables ([[classPath]]), not " + std::string(typeName(*node)));
    std::string joined;
    for (const toml::node& item : *entries) {
        const toml::table* entry = item.as_table();
        if (!entry) return fail(item, "a classPath entry must be a table, not " + std::string(typeName(item)));
        if (!onlyFields(*entry, "a classPath entry", {"kind", "path", "variable", "required"})) return false;
        bool ok = true;
        const int kind = choice(*entry, "kind", {"scan", "archive", "directory", "variable"}, -2, ok);
        if (!ok) return false;
        if (kind == -2) return fail(*entry, "a classPath entry needs a kind: \"scan\", \"archive\", \"directory\" or \"variable\"");
        const std::string_view needed = kind == 3 ? "variable" : "path";
        const std::string_view other = kind == 3 ? "path" : "variable";
        if (const toml::node* wrong = entry->get(other))
            return fail(*wrong, "a \"" + std::string(kind == 3 ? "variable" : "path") + "\" entry takes " +
                                    std::string(needed) + ", not " + std::string(other));
        const auto* value = text(*entry, needed, ok);
        const auto* required = flag(*entry, "required", ok);
        if (!ok) return false;
        if (!value || value->get().empty())
            return fail(value ? value->source() : entry->source(), "this classPath entry needs its " + std::string(needed));
        if (!noneOf(*value, value->get(), ";", "a class path entry")) return false;
        joined += "SADE"[kind];
        joined += required && required->get() ? '1' : '0';
        joined += value->get() + ";";
    }
    return setNarrow(config::kClassPath, joined, node->source());
}

bool Reader::embed(std::string name, const std::filesystem::path& source, const toml::source_region& where) {
    std::replace(name.begin(), name.end(), '/', '\\');
    if (name.empty() || name.front() == '\\' || name.back() == '\\' || std::count(name.begin(), name.end(), '\\') > 1 ||
        name.find_first_of(";:*?\"<>|") != std::string::npos || name.find("..") != std::string::npos)
        return fail(where, "embedded file name \"" + name +
                               "\" must be a plain file name, optionally in one sub-directory (\"lib\\\\app.jar\")");
    for (const payload::EmbeddedFile& file : result.files)
        if (file.name == name) return fail(where, "\"" + name + "\" is embedded twice");
    const std::filesystem::path path = source.is_absolute() ? source : options_.baseDirectory / source;
    if (options_.checkFiles) {
        std::error_code ec;
        std::ifstream in(path, std::ios::binary);
        if (!in || std::filesystem::is_directory(path, ec))
            return fail(where, "cannot read the file to embed: " + path.string());
    }
    result.files.push_back({std::move(name), path});
    return true;
}

bool Reader::readFiles(const toml::table& root) {
    bool ok = true;
    const toml::table* files = section(root, "files", ok);
    if (!ok) return false;
    const toml::node* bootstrap = files ? files->get("bootstrapJar") : nullptr;
    if (files && !onlyFields(*files, "[files]", {"bootstrapJar", "embed"})) return false;
    if (!bootstrap || (bootstrap->is_boolean() && bootstrap->as_boolean()->get())) {
        const toml::source_region where = bootstrap ? bootstrap->source() : (files ? files->source() : root.source());
        if (options_.defaultBootstrapJar.empty())
            return fail(where, "no bootstrap jar known; set files.bootstrapJar to its path, or to false");
        if (!embed(std::string(kBootstrapJarName), options_.defaultBootstrapJar, where)) return false;
    } else if (const auto* path = bootstrap->as_string()) {
        if (!embed(std::string(kBootstrapJarName), path->get(), path->source())) return false;
    } else if (!bootstrap->is_boolean()) {
        return fail(*bootstrap, "bootstrapJar must be true, false or a path, not " + std::string(typeName(*bootstrap)));
    }
    const toml::node* node = files ? files->get("embed") : nullptr;
    if (!node) return true;
    const toml::array* list = node->as_array();
    if (!list) return fail(*node, "embed must be an array of tables ([[files.embed]]), not " + std::string(typeName(*node)));
    for (const toml::node& item : *list) {
        const toml::table* entry = item.as_table();
        if (!entry) return fail(item, "an embedded file must be a table, not " + std::string(typeName(item)));
        if (!onlyFields(*entry, "an embedded file", {"name", "source"})) return false;
        const auto* source = text(*entry, "source", ok);
        const auto* name = text(*entry, "name", ok);
        if (!ok) return false;
        if (!source) return fail(*entry, "an embedded file needs its source path");
        const std::string fileName = name ? name->get() : std::filesystem::path(source->get()).filename().string();
        if (!embed(fileName, source->get(), (name ? *name : *source).source())) return false;
    }
    return true;
}

bool Reader::readJava(const toml::table& root) {
    bool ok = true;
    const toml::table* java = section(root, "java", ok);
    if (!ok) return false;
    const toml::node* search = java ? java->get("search") : nullptr;
    if (java && !onlyFields(*java, "[java]", {"search", "minVersion", "maxVersion", "allowPrerelease", "requireJdk",
                                              "jvmSubdirectory", "previousInstallationsValue"}))
        return false;
    if (!search) {
        if (!setNarrow(config::kJvmSearchSequence, kDefaultSearchSequence, root.source())) return false;
    } else {
        const toml::array* sources = search->as_array();
        if (!sources) return fail(*search, "search must be an array of tables, not " + std::string(typeName(*search)));
        std::string sequence;
        for (const toml::node& item : *sources) {
            const toml::table* source = item.as_table();
            if (!source) return fail(item, "a search source must be a table, not " + std::string(typeName(item)));
            if (!onlyFields(*source, "a search source", {"kind", "path", "variable", "fallbackAlways"})) return false;
            const int kind = choice(*source, "kind", {"bundled", "directory", "environment", "path", "registry"}, -2, ok);
            if (!ok) return false;
            if (kind == -2)
                return fail(*source, "a search source needs a kind: \"bundled\", \"directory\", \"environment\", "
                                     "\"path\" or \"registry\"");
            const std::string_view argument = kind <= 1 ? "path" : kind == 2 ? "variable" : "";
            for (std::string_view name : {"path", "variable", "fallbackAlways"}) {
                const bool allowed = name == argument || (name == "fallbackAlways" && kind <= 1);
                if (const toml::node* extra = source->get(name); extra && !allowed)
                    return fail(*extra, "a \"" + source->get("kind")->as_string()->get() + "\" source takes no " +
                                            std::string(name));
            }
            std::string value;
            if (!argument.empty()) {
                const auto* given = text(*source, argument, ok);
                if (!ok) return false;
                if (!given || given->get().empty())
                    return fail(given ? given->source() : source->source(), "this search source needs its " + std::string(argument));
                if (!noneOf(*given, given->get(), ";", "a search source")) return false;
                value = given->get();
            }
            const auto* always = flag(*source, "fallbackAlways", ok);
            if (!ok) return false;
            sequence += always && always->get() ? 'B' : "RAESY"[kind];
            sequence += value + ";";
        }
        if (!setNarrow(config::kJvmSearchSequence, sequence, search->source())) return false;
    }
    if (!java) return true;
    const auto* minVersion = text(*java, "minVersion", ok);
    const auto* maxVersion = text(*java, "maxVersion", ok);
    const auto* prerelease = flag(*java, "allowPrerelease", ok);
    const auto* jdk = flag(*java, "requireJdk", ok);
    const auto* subdirectory = text(*java, "jvmSubdirectory", ok);
    const auto* previous = text(*java, "previousInstallationsValue", ok);
    return ok && (!minVersion || setNarrow(config::kMinVersion, *minVersion)) &&
           (!maxVersion || setNarrow(config::kMaxVersion, *maxVersion)) &&
           (!prerelease || setFlag(config::kAllowPrereleaseJvm, prerelease->get(), prerelease->source())) &&
           (!jdk || setFlag(config::kRequireJdk, jdk->get(), jdk->source())) &&
           (!subdirectory || setNarrow(config::kPreferredJvmDllDirectory, *subdirectory, kJvmSubdirectoryCapacity)) &&
           (!previous || setNarrow(config::kPreviousInstallDirectoriesValue, *previous));
}

// The launcher splits the options text with the command-line rules: an option
// with blanks is quoted, and quotes inside options are refused rather than
// guessed at.
bool Reader::readVm(const toml::table& root) {
    bool ok = true;
    const toml::table* vm = section(root, "vm", ok);
    if (!vm) return ok;
    if (!onlyFields(*vm, "[vm]", {"options"})) return false;
    std::vector<const toml::value<std::string>*> options;
    bool present = false;
    if (!stringArray(*vm, "options", options, present)) return false;
    if (!present) return true;
    std::string joined;
    for (const auto* option : options) {
        const std::string& value = option->get();
        if (value.empty()) return fail(*option, "a VM option must not be empty");
        if (value.find('"') != std::string::npos) return fail(*option, "a VM option must not contain a double quote");
        const bool blank = value.find_first_of(" \t") != std::string::npos;
        if (blank && value.back() == '\\')
            return fail(*option, "a VM option with blanks must not end in a backslash (it would escape the closing quote)");
        joined += joined.empty() ? "" : " ";
        joined += blank ? "\"" + value + "\"" : value;
    }
    return setNarrow(config::kVmOptions, joined, vm->get("options")->source());
}

bool Reader::readMessages(const toml::table& root) {
    bool ok = true;
    const toml::table* messages = section(root, "messages", ok);
    if (!ok) return false;
    if (messages) {
        for (auto&& [key, node] : *messages) {
            const std::string_view name = key.str();  // clang 14 cannot capture a structured binding
            const auto known = std::find_if(config::keyCatalogue().begin(), config::keyCatalogue().end(),
                                            [&](const config::KeyInfo& info) {
                                                return info.key >= config::kFirstMessage &&
                                                       info.key <= config::kLastMessage &&
                                                       messageFieldName(info) == name;
                                            });
            if (known == config::keyCatalogue().end())
                return fail(key.source(), "unknown message \"" + std::string(key.str()) + "\" in [messages]");
            if (!node.is_string())
                return fail(node, std::string(key.str()) + " must be a string, not " + std::string(typeName(node)));
        }
    }
    // Every message is written: the shipped text unless the file gives its own.
    for (const config::KeyInfo& info : config::keyCatalogue()) {
        if (info.key < config::kFirstMessage || info.key > config::kLastMessage) continue;
        const toml::value<std::string>* given = messages ? text(*messages, messageFieldName(info), ok) : nullptr;
        std::string problem;
        if (given && !checkPlaceholders(given->get(), messageTakesDetail(info), problem))
            return fail(*given, messageFieldName(info) + ": " + problem);
        if (!setNarrow(info.key, given ? std::string_view(given->get()) : info.shippedText,
                       given ? given->source() : root.source()))
            return false;
    }
    return true;
}

bool Reader::readGui(const toml::table& root) {
    bool ok = true;
    const toml::table* gui = section(root, "gui", ok);
    if (!gui) return ok;
    if (!onlyFields(*gui, "[gui]", {"consoleSwitches", "splash"})) return false;
    if (options_.program != LauncherProgram::Gui) return fail(gui->source(), "[gui] needs the GUI launcher template");
    const int switches = choice(*gui, "consoleSwitches", {"none", "console", "all"}, -2, ok);
    // splash: true shows the template's image, a file name shows that image.
    const toml::node* splashNode = gui->get("splash");
    const auto* splash = splashNode && splashNode->is_string() ? nullptr : flag(*gui, "splash", ok);
    if (!ok) return false;
    if (splashNode && splashNode->is_string()) {
        const auto& image = *splashNode->as_string();
        if (options_.checkFiles) {
            std::string problem;
            if (!readResourceFile(image, "splash image", result.resources.splash)) return false;
            if (!resources::checkSplashImage(result.resources.splash, problem))
                return fail(image, "splash image " + resolve(image.get()).string() + " " + problem);
        }
        if (!setFlag(config::kShowSplashScreen, true, image.source()) ||
            !setFlag(config::kSplashScreenEnabled, true, image.source()))
            return false;
    }
    if (switches != -2) {
        const auto& where = gui->get("consoleSwitches")->source();
        if (!setFlag(config::kAcceptQuietAndConsoleSwitches, switches == 2, where) ||
            !setFlag(config::kAcceptConsoleSwitch, switches == 1, where))
            return false;
    }
    // The splash shows only when both keys are set.
    return !splash || (setFlag(config::kShowSplashScreen, splash->get(), splash->source()) &&
                       setFlag(config::kSplashScreenEnabled, splash->get(), splash->source()));
}

bool Reader::readResourceFile(const toml::value<std::string>& name, std::string_view what, std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = resolve(name.get());
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, ec))
        return fail(name, "cannot read the " + std::string(what) + ": " + path.string());
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool Reader::readResources(const toml::table& root) {
    bool ok = true;
    const toml::table* res = section(root, "resources", ok);
    if (!res) return ok;
    if (!onlyFields(*res, "[resources]", {"icon", "version"})) return false;
    const auto* icon = text(*res, "icon", ok);
    const toml::table* version = section(*res, "version", ok);
    if (!ok) return false;
    if (icon && options_.checkFiles) {
        std::string problem;
        if (!readResourceFile(*icon, "icon file", result.resources.icon)) return false;
        if (!resources::checkIconFile(result.resources.icon, problem))
            return fail(*icon, "icon file " + resolve(icon->get()).string() + " " + problem);
    }
    if (!version) return true;
    if (!onlyFields(*version, "[resources.version]", {"fileVersion", "productVersion", "productName", "company",
                                                      "description", "copyright"}))
        return false;
    resources::VersionInfo info;
    const auto* fileVersion = text(*version, "fileVersion", ok);
    const auto* productVersion = text(*version, "productVersion", ok);
    std::string* texts[] = {&info.productName, &info.company, &info.description, &info.copyright};
    const char* names[] = {"productName", "company", "description", "copyright"};
    for (size_t i = 0; i < 4 && ok; ++i) {
        const auto* value = text(*version, names[i], ok);
        if (!value) continue;
        if (utf8ToUtf16(value->get()).size() > kVersionTextCapacity)
            return fail(*value, std::string(names[i]) + " is longer than " + std::to_string(kVersionTextCapacity) +
                                    " characters");
        *texts[i] = value->get();
    }
    if (!ok) return false;
    for (const auto* number : {fileVersion, productVersion}) {
        if (number && !resources::parseVersionNumber(number->get()))
            return fail(*number, "version \"" + number->get() +
                                     "\" must be one to four numbers from 0 to 65535 separated by dots (\"1.2.3.4\")");
    }
    // Each version number stands in for the other when only one is given.
    const auto* fileSide = fileVersion ? fileVersion : productVersion;
    const auto* productSide = productVersion ? productVersion : fileVersion;
    if (fileSide) {
        info.fileVersion = *resources::parseVersionNumber(fileSide->get());
        info.fileVersionText = fileSide->get();
        info.productVersion = *resources::parseVersionNumber(productSide->get());
        info.productVersionText = productSide->get();
    }
    result.resources.version = std::move(info);
    return true;
}

bool Reader::readLogs(const toml::table& root) {
    bool ok = true;
    const toml::table* logs = section(root, "logs", ok);
    if (!logs) return ok;
    if (!onlyFields(*logs, "[logs]", {"errorFile", "outputFile"})) return false;
    const auto* errorFile = text(*logs, "errorFile", ok);
    const auto* outputFile = text(*logs, "outputFile", ok);
    if (!ok) return false;
    if (errorFile && (!setFlag(config::kPassErrorFile, true, errorFile->source()) ||
                      !setNarrow(config::kErrorFile, *errorFile)))
        return false;
    return !outputFile || (setFlag(config::kPassOutputFile, true, outputFile->source()) &&
                           setNarrow(config::kOutputFile, *outputFile));
}

bool validLocalePrefix(std::string_view prefix) {
    const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    if (prefix == "no_NO_NY") return true;
    if (prefix.size() != 2 && prefix.size() != 5) return false;
    if (!lower(prefix[0]) || !lower(prefix[1])) return false;
    return prefix.size() == 2 || (prefix[2] == '_' && upper(prefix[3]) && upper(prefix[4]));
}

// Only wide texts follow the locale at run time; the launcher keeps its
// message texts in the ANSI code page and never switches them.
bool Reader::readTranslations(const toml::table& root) {
    bool ok = true;
    const toml::table* translations = section(root, "translations", ok);
    if (!translations) return ok;
    std::vector<payload::LocaleSection> sections;
    for (auto&& [prefix, node] : *translations) {
        if (!validLocalePrefix(prefix.str()))
            return fail(prefix.source(), "\"" + std::string(prefix.str()) +
                                             "\" is not a locale: write \"de\", \"de_AT\" or \"no_NO_NY\"");
        const toml::table* texts = node.as_table();
        if (!texts) return fail(node, "a translation must be a table, not " + std::string(typeName(node)));
        for (auto&& [name, value] : *texts) {
            if (name.str() != "serviceDescription")
                return fail(name.source(), "\"" + std::string(name.str()) +
                                               "\" cannot be translated: the launcher switches only the service "
                                               "description by locale");
        }
        if (options_.program != LauncherProgram::Service)
            return fail(node, "translations need the service launcher template");
        const auto* description = text(*texts, "serviceDescription", ok);
        if (!ok) return false;
        payload::LocaleSection section{std::string(prefix.str()), {}};
        if (description) {
            std::u16string wide;
            if (!wideValue(description->get(), description->source(), wide)) return false;
            section.entries.push_back({config::kServiceDescription, std::move(wide)});
        }
        sections.push_back(std::move(section));
    }
    // General sections before specific ones, so that "de_AT" wins over "de".
    std::stable_sort(sections.begin(), sections.end(),
                     [](const auto& a, const auto& b) { return a.prefix.size() < b.prefix.size(); });
    result.record.localeSections = std::move(sections);
    return true;
}

bool Reader::readRaw(const toml::table& root) {
    bool ok = true;
    const toml::table* raw = section(root, "raw", ok);
    if (!raw) return ok;
    for (auto&& [name, node] : *raw) {
        int32_t key = 0;
        const config::KeyInfo* info = config::findKeyByName(name.str());
        if (info) {
            key = info->key;
        } else {
            const char* end = name.str().data() + name.str().size();
            auto [ptr, ec] = std::from_chars(name.str().data(), end, key);
            if (name.str().empty() || ec != std::errc() || ptr != end)
                return fail(name.source(), "\"" + std::string(name.str()) + "\" is neither a key number nor a key name");
            info = config::findKey(key);
        }
        std::string value;
        if (const auto* s = node.as_string()) value = s->get();
        else if (const auto* i = node.as_integer()) value = std::to_string(i->get());
        else if (const auto* b = node.as_boolean()) value = b->get() ? "1" : "0";
        else return fail(node, "a raw value must be a string, an integer or a boolean, not " + std::string(typeName(node)));
        if (info && info->kind == config::ValueKind::WideText) {
            if (!setWide(key, value, node.source())) return false;
        } else if (!setNarrow(key, value, node.source(),
                              key == config::kPreferredJvmDllDirectory ? kJvmSubdirectoryCapacity : kValueCapacity)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool readLauncherConfiguration(std::string_view text, const ReadOptions& options, payload::LauncherPayload& payload,
                               std::string& error) {
    toml::parse_result parsed = toml::parse(text, options.sourceName);
    if (!parsed) {
        const toml::parse_error& problem = parsed.error();
        error = options.sourceName + ":" + std::to_string(problem.source().begin.line) + ":" +
                std::to_string(problem.source().begin.column) + ": " + std::string(problem.description());
        return false;
    }
    Reader reader(options, error);
    if (!reader.read(parsed.table())) return false;
    payload = std::move(reader.result);
    return true;
}

bool readLauncherConfigurationFile(const std::filesystem::path& path, ReadOptions options,
                                   payload::LauncherPayload& payload, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path.string();
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (options.sourceName.empty()) options.sourceName = path.string();
    if (options.baseDirectory.empty()) options.baseDirectory = path.parent_path();
    return readLauncherConfiguration(text, options, payload, error);
}

}  // namespace generator
