#include "LauncherConfig.h"

#include "Sections.h"
#include "Utf.h"

#include <fstream>
#include <iterator>

namespace generator {
namespace {

// The sections in the order their keys go into the record: the payload's
// bytes depend on it.
bool readSections(SectionContext& context, const toml::table& root) {
    if (!context.fields.onlyFields(root, "the file", {"application", "classPath", "files", "java", "vm", "messages",
                                                    "service", "gui", "logs", "resources", "translations", "raw"}))
        return false;
    using Reader = bool (*)(SectionContext&, const toml::table&);
    // [service] after [application]: it checks the application's name.
    for (const Reader read : {readApplication, readService, readClassPath, readFiles, readJava, readVm, readMessages,
                              readGui, readResources, readLogs, readTranslations, readRaw})
        if (!read(context, root)) return false;
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
    SectionContext context(options, error);
    if (!readSections(context, parsed.table())) return false;
    payload = std::move(context.result);
    return true;
}

bool readLauncherConfigurationFile(const std::filesystem::path& path, ReadOptions options,
                                   payload::LauncherPayload& payload, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + pathText(path);
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (options.sourceName.empty()) options.sourceName = pathText(path);
    if (options.baseDirectory.empty()) options.baseDirectory = path.parent_path();
    return readLauncherConfiguration(text, options, payload, error);
}

}  // namespace generator
