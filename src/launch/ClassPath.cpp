#include "launch/ClassPath.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/PayloadValues.h"
#include "log/Log.h"

#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kOptionName = "-Djava.class.path=";

bool endsWith(std::string_view text, char c) { return !text.empty() && text.back() == c; }

std::vector<std::string> splitAtSemicolons(std::string_view text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

class ClassPathBuilder {
public:
    ClassPathBuilder(const ClassPathInputs& inputs, LaunchSystem& system) : inputs_(inputs), system_(system) {
        result_.option = kOptionName;
    }

    ClassPathOption build() {
        const ClassPathDirectives& directives = *inputs_.directives;
        if (directives.prepend) add(*directives.prepend, ";");
        if (!inputs_.tempDir.empty()) {
            addArchivesInDirectory(inputs_.tempDir);
            addArchivesInDirectory(inputs_.tempDir + "\\user");
        }
        if (inputs_.brantel) addRuntimeJar();
        if (directives.replace) {
            add(*directives.replace, "");
        } else if (!addClassPathEntries()) {
            return std::move(result_);
        }
        if (directives.append) add(*directives.append, endsWith(result_.option, ';') ? "" : ";", true);
        return std::move(result_);
    }

private:
    // Appends `text` (then `tail`) whole or not at all; `tail` comes first with `tailFirst`.
    void add(std::string_view text, std::string_view tail, bool tailFirst = false) {
        if (result_.option.size() + text.size() + tail.size() >= kClassPathOptionCapacity) {
            logError("class path full, left out %.*s", static_cast<int>(text.size()), text.data());
            return;
        }
        if (tailFirst) result_.option += tail;
        result_.option += text;
        if (!tailFirst) result_.option += tail;
    }

    // Every directory\*.jar, then every directory\*.zip, as full names.
    bool addArchivesInDirectory(const std::string& directory) {
        if (!system_.pathExists(directory)) return false;
        for (const char* extension : {"jar", "zip"})
            for (const std::string& name : system_.listFilesWithExtension(directory, extension))
                add(system_.resolvePath(directory + "\\" + name), ";");
        return true;
    }

    void addRuntimeJar() {
        char directory[kBufferCapacity];
        configString(config::kApplicationDirectory, directory, sizeof directory);
        std::string jar = system_.fullPath(directory);
        if (!endsWith(jar, '\\')) jar += '\\';
        jar += ".brantel\\btlruntime.jar";
        add(jar, ";");
    }

    void fail(int32_t messageKey, std::string detail) { result_.missing = MissingClassPathEntry{messageKey, std::move(detail)}; }

    // False when a required entry was not found.
    bool addClassPathEntries() {
        char text[kBufferCapacity];
        configString(config::kClassPath, text, sizeof text);
        logMessage("classpath entry %s", text);
        for (const std::string& entry : splitAtSemicolons(text)) {
            if (entry.size() < 2) continue;  // a type letter alone names nothing
            const bool required = entry[1] == config::kClassPathRequired;
            std::string path = entry.substr(2);
            system_.expandVariables(path);
            bool found = false;
            switch (entry[0]) {
                case config::kClassPathArchive:
                case config::kClassPathDirectory: {
                    std::string joined;
                    for (const std::string& piece : splitAtSemicolons(path)) {
                        if (!joined.empty()) joined += ';';
                        joined += system_.resolvePath(piece);
                    }
                    found = system_.pathExists(joined);
                    add(joined, ";");
                    break;
                }
                case config::kClassPathVariable: {
                    std::string value;
                    const LaunchSystem::Variable state = system_.environmentVariable(path, value);
                    if (state == LaunchSystem::Variable::Undefined && required) {
                        fail(config::kMessageVariableUndefined, path);
                        return false;
                    }
                    found = state == LaunchSystem::Variable::Value;
                    if (!found) break;
                    // A value of one quote is not a quoted value.
                    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                        value = value.substr(1, value.size() - 2);
                    add(value, endsWith(value, ';') ? "" : ";");
                    break;
                }
                case config::kClassPathScan:
                    found = addArchivesInDirectory(system_.resolvePath(path));
                    break;
                default:
                    continue;
            }
            if (required && !found) {
                fail(config::kMessageClassPathEntryMissing, path);
                return false;
            }
        }
        return true;
    }

    const ClassPathInputs& inputs_;
    LaunchSystem& system_;
    ClassPathOption result_;
};

}  // namespace

ClassPathOption buildClassPathOption(const ClassPathInputs& inputs, LaunchSystem& system) {
    return ClassPathBuilder(inputs, system).build();
}
