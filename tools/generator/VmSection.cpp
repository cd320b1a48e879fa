#include "Sections.h"

#include "core/ConfigKeys.h"

// [vm]: the configured JVM options (key 123).
namespace generator {

// The launcher splits the options text with the command-line rules: an option
// with blanks is quoted, and quotes inside options are refused rather than
// guessed at.
bool readVm(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* vm = fields.section(root, "vm", {"options"}, ok);
    if (!vm) return ok;
    std::vector<const toml::value<std::string>*> options;
    bool present = false;
    if (!fields.stringArray(*vm, "options", options, present)) return false;
    if (!present) return true;
    std::string joined;
    for (const auto* option : options) {
        const std::string& value = option->get();
        if (value.empty()) return fields.fail(*option, "a VM option must not be empty");
        if (value.find('"') != std::string::npos) return fields.fail(*option, "a VM option must not contain a double quote");
        const bool blank = value.find_first_of(" \t") != std::string::npos;
        if (blank && value.back() == '\\')
            return fields.fail(*option,
                             "a VM option with blanks must not end in a backslash (it would escape the closing quote)");
        joined += joined.empty() ? "" : " ";
        joined += blank ? "\"" + value + "\"" : value;
    }
    return context.setNarrow(config::kVmOptions, joined, vm->get("options")->source());
}

}  // namespace generator
