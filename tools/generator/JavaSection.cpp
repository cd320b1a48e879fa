#include "Sections.h"

#include "core/ConfigKeys.h"

// [java]: the search sequence (key 128) and the limits a runtime must meet.
namespace generator {
namespace {

std::string sequenceEntry(char letter, std::string_view argument) {
    return letter + std::string(argument) + config::kEntrySeparator;
}

// A registry source written as "registry" stands for the JavaSoft keys and
// the vendors' keys, in this order.
std::string sourceEntries(char letter, std::string_view argument) {
    std::string entries = sequenceEntry(letter, argument);
    if (letter == config::kSearchRegistry) entries += sequenceEntry(config::kSearchVendorRegistry, "");
    return entries;
}

// Without a search list the launcher looks for a runtime shipped in "jre"
// beside it, in the registry, at JAVA_HOME and JDK_HOME, and on the search path.
std::string defaultSearchSequence() {
    return sequenceEntry(config::kSearchBundled, "jre") + sourceEntries(config::kSearchRegistry, "") +
           sequenceEntry(config::kSearchEnvironment, "JAVA_HOME") + sequenceEntry(config::kSearchEnvironment, "JDK_HOME") +
           sequenceEntry(config::kSearchPath, "");
}

// One source of the list as its sequence entry; false with the error set.
bool searchEntry(SectionContext& context, const toml::node& item, std::string& sequence) {
    TomlFields& fields = context.fields;
    const toml::table* source = item.as_table();
    if (!source) return fields.fail(item, "a search source must be a table, not " + std::string(tomlTypeName(item)));
    if (!fields.onlyFields(*source, "a search source", {"kind", "path", "variable", "fallbackAlways"})) return false;
    const config::EntryForm* form = context.entryKind(*source, config::kSearchForms, "a search source");
    if (!form) return false;
    const std::string_view argument = config::entryArgumentName(form->argument);
    for (std::string_view name : {"path", "variable", "fallbackAlways"}) {
        // Only directories take part in the fallback pass.
        const bool allowed =
            name == argument || (name == "fallbackAlways" && form->argument == config::EntryArgument::Path);
        if (const toml::node* extra = source->get(name); extra && !allowed)
            return fields.fail(*extra, "a \"" + std::string(form->name) + "\" source takes no " + std::string(name));
    }
    bool ok = true;
    std::string value;
    if (!argument.empty()) {
        const auto* given = fields.text(*source, argument, ok);
        if (!ok) return false;
        if (!given || given->get().empty())
            return fields.fail(given ? given->source() : source->source(),
                             "this search source needs its " + std::string(argument));
        if (!fields.noneOf(*given, given->get(), config::kEntrySeparator, "a search source")) return false;
        value = given->get();
    }
    const auto* always = fields.flag(*source, "fallbackAlways", ok);
    if (!ok) return false;
    sequence += sourceEntries(always && always->get() ? config::kSearchDirectoryAlwaysFallback : form->letter, value);
    return true;
}

bool readSearch(SectionContext& context, const toml::table& root, const toml::table* java) {
    const toml::node* search = java ? java->get("search") : nullptr;
    if (!search) return context.setNarrow(config::kJvmSearchSequence, defaultSearchSequence(), root.source());
    const toml::array* sources = search->as_array();
    if (!sources)
        return context.fields.fail(*search, "search must be an array of tables, not " + std::string(tomlTypeName(*search)));
    std::string sequence;
    for (const toml::node& item : *sources)
        if (!searchEntry(context, item, sequence)) return false;
    return context.setNarrow(config::kJvmSearchSequence, sequence, search->source());
}

}  // namespace

bool readJava(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* java = fields.section(root, "java",
                                             {"search", "minVersion", "maxVersion", "allowPrerelease", "requireJdk",
                                              "jvmSubdirectory", "previousInstallationsValue"},
                                             ok);
    if (!ok) return false;
    if (!readSearch(context, root, java)) return false;
    if (!java) return true;
    const auto* minVersion = fields.text(*java, "minVersion", ok);
    const auto* maxVersion = fields.text(*java, "maxVersion", ok);
    const auto* prerelease = fields.flag(*java, "allowPrerelease", ok);
    const auto* jdk = fields.flag(*java, "requireJdk", ok);
    const auto* subdirectory = fields.text(*java, "jvmSubdirectory", ok);
    const auto* previous = fields.text(*java, "previousInstallationsValue", ok);
    return ok && (!minVersion || context.setNarrow(config::kMinVersion, *minVersion)) &&
           (!maxVersion || context.setNarrow(config::kMaxVersion, *maxVersion)) &&
           (!prerelease || context.setFlag(config::kAllowPrereleaseJvm, prerelease->get(), prerelease->source())) &&
           (!jdk || context.setFlag(config::kRequireJdk, jdk->get(), jdk->source())) &&
           (!subdirectory ||
            context.setNarrow(config::kPreferredJvmDllDirectory, *subdirectory, kJvmSubdirectoryCapacity)) &&
           (!previous || context.setNarrow(config::kPreviousInstallDirectoriesValue, *previous));
}

}  // namespace generator
