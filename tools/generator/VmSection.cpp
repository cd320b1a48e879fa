#include "Sections.h"

// [vm]: the configured JVM options (key 123).
namespace generator {

bool readVm(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* vm = fields.section(root, "vm", {"options"}, ok);
    if (!vm) return ok;
    std::vector<const toml::value<std::string>*> items;
    bool present = false;
    if (!fields.stringArray(*vm, "options", items, present)) return false;
    if (!present) return true;
    std::vector<SectionContext::VmOption> options;
    for (const auto* item : items) options.push_back({item->get(), item->source()});
    return context.addVmOptions(options, vm->get("options")->source());
}

}  // namespace generator
