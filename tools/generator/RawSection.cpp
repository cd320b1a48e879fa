#include "Sections.h"

#include "core/ConfigKeys.h"

#include <charconv>

// [raw]: keys by number or catalogue name, written as they are, after and
// over everything the other sections wrote.
namespace generator {

bool readRaw(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* raw = fields.section(root, "raw", ok);
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
                return fields.fail(name.source(),
                                 "\"" + std::string(name.str()) + "\" is neither a key number nor a key name");
            info = config::findKey(key);
        }
        std::string value;
        if (const auto* s = node.as_string()) value = s->get();
        else if (const auto* i = node.as_integer()) value = std::to_string(i->get());
        else if (const auto* b = node.as_boolean()) value = b->get() ? "1" : "0";
        else
            return fields.fail(node, "a raw value must be a string, an integer or a boolean, not " +
                                       std::string(tomlTypeName(node)));
        if (info && info->kind == config::ValueKind::WideText) {
            if (!context.setWide(key, value, node.source())) return false;
        } else if (!context.setNarrow(key, value, node.source(),
                                      key == config::kPreferredJvmDllDirectory ? kJvmSubdirectoryCapacity
                                                                                : kValueCapacity)) {
            return false;
        }
    }
    return true;
}

}  // namespace generator
