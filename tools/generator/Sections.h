#pragma once

#include "LauncherConfig.h"
#include "TomlFields.h"
#include "Utf.h"
#include "core/PayloadValues.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The readers of the sections of a launcher description, one file per topic.
// Each reads its section from the root table and writes its keys into the
// payload through the context below; the first problem ends the reading.
namespace generator {

class SectionContext {
public:
    SectionContext(const ReadOptions& options, std::string& error) : fields(options.sourceName, error), options(options) {}

    TomlFields fields;
    const ReadOptions& options;
    payload::LauncherPayload result;
    const toml::value<std::string>* applicationName = nullptr;  // [application] name, which [service] must not contradict

    // Narrow values: Windows-1252, within the launcher's buffer. A key set
    // twice keeps its first place with the last value.
    bool setNarrow(int32_t key, std::string_view utf8, const toml::source_region& where,
                   size_t capacity = kValueCapacity);
    bool setNarrow(int32_t key, const toml::value<std::string>& value, size_t capacity = kValueCapacity) {
        return setNarrow(key, value.get(), value.source(), capacity);
    }
    bool setFlag(int32_t key, bool on, const toml::source_region& where) { return setNarrow(key, on ? "1" : "0", where); }

    // Wide values: UTF-16, within the launcher's buffer.
    bool wideValue(std::string_view utf8, const toml::source_region& where, std::u16string& wide);
    bool setWide(int32_t key, std::string_view utf8, const toml::source_region& where);

    // The form named by the entry's "kind" field; nullptr (with the error set)
    // when it is missing or names none of `forms`. `what` names the entry.
    const config::EntryForm* entryKind(const toml::table& entry, std::span<const config::EntryForm> forms,
                                       std::string_view what);

    // The JVM options (key 123) come from more than one section: [vm] and
    // the bootstrap's settings that [logs] passes as system properties. Each
    // call adds its options after those already there and writes the key
    // anew, so it keeps the place of its first writer. `where` is blamed when
    // the whole text no longer fits.
    struct VmOption {
        std::string text;
        toml::source_region where;
    };
    bool addVmOptions(std::span<const VmOption> options, const toml::source_region& where);

    // Relative paths start at the description's directory. A path in the
    // description is UTF-8 text; on Windows either separator divides it.
    std::filesystem::path resolve(const std::filesystem::path& source) const;
    std::filesystem::path resolve(const toml::value<std::string>& source) const {
        return resolve(utf8Path(source.get()));
    }
    bool readFile(const toml::value<std::string>& name, std::string_view what, std::vector<uint8_t>& bytes);

private:
    std::string vmOptions_;  // key 123 as the sections have added to it
};

bool readApplication(SectionContext& context, const toml::table& root);
bool readClassPath(SectionContext& context, const toml::table& root);
bool readLogs(SectionContext& context, const toml::table& root);
bool readFiles(SectionContext& context, const toml::table& root);
bool readJava(SectionContext& context, const toml::table& root);
bool readVm(SectionContext& context, const toml::table& root);
bool readMessages(SectionContext& context, const toml::table& root);
bool readService(SectionContext& context, const toml::table& root);
bool readTranslations(SectionContext& context, const toml::table& root);
bool readGui(SectionContext& context, const toml::table& root);
bool readResources(SectionContext& context, const toml::table& root);
bool readRaw(SectionContext& context, const toml::table& root);

}  // namespace generator
