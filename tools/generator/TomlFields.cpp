#include "TomlFields.h"

#include <algorithm>

namespace generator {

std::string_view tomlTypeName(const toml::node& node) {
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

std::string quotedChoices(std::span<const std::string_view> choices, std::string_view lastJoin) {
    std::string list;
    for (size_t i = 0; i < choices.size(); ++i) {
        if (i > 0) list += i + 1 == choices.size() ? lastJoin : ", ";
        list += "\"" + std::string(choices[i]) + "\"";
    }
    return list;
}

bool TomlFields::fail(const toml::source_region& where, const std::string& message) {
    const auto line = where.begin.line ? where.begin.line : 1;
    const auto column = where.begin.column ? where.begin.column : 1;
    error_ = sourceName_ + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
    return false;
}

bool TomlFields::onlyFields(const toml::table& table, std::string_view section,
                            std::initializer_list<std::string_view> fields) {
    for (auto&& [key, node] : table) {
        if (std::find(fields.begin(), fields.end(), key.str()) == fields.end())
            return fail(key.source(), "unknown field \"" + std::string(key.str()) + "\" in " + std::string(section));
    }
    return true;
}

const toml::table* TomlFields::section(const toml::table& parent, std::string_view name, bool& ok) {
    const toml::node* node = parent.get(name);
    if (!node) return nullptr;
    if (!node->is_table())
        ok = fail(*node, std::string(name) + " must be a table, not " + std::string(tomlTypeName(*node)));
    return node->as_table();
}

const toml::table* TomlFields::section(const toml::table& parent, std::string_view name,
                                       std::initializer_list<std::string_view> allowed, bool& ok) {
    const toml::table* table = section(parent, name, ok);
    if (table == nullptr || onlyFields(*table, "[" + std::string(name) + "]", allowed)) return table;
    ok = false;
    return nullptr;
}

int TomlFields::choice(const toml::table& t, std::string_view name, std::span<const std::string_view> choices,
                       int fallback, bool& ok) {
    const auto* value = text(t, name, ok);
    if (!ok) return -1;
    if (!value) return fallback;
    const auto found = std::find(choices.begin(), choices.end(), value->get());
    if (found != choices.end()) return static_cast<int>(found - choices.begin());
    ok = fail(*value, std::string(name) + " \"" + value->get() + "\" is not one of " + quotedChoices(choices));
    return -1;
}

bool TomlFields::stringArray(const toml::table& t, std::string_view name,
                             std::vector<const toml::value<std::string>*>& items, bool& present) {
    const toml::node* node = t.get(name);
    present = node != nullptr;
    if (!node) return true;
    const toml::array* array = node->as_array();
    if (!array)
        return fail(*node, std::string(name) + " must be an array of strings, not " + std::string(tomlTypeName(*node)));
    for (const toml::node& item : *array) {
        if (!item.is_string())
            return fail(item, std::string(name) + " must hold strings only, not " + std::string(tomlTypeName(item)));
        items.push_back(item.as_string());
    }
    return true;
}

bool TomlFields::noneOf(const toml::node& where, std::string_view value, char separator, std::string_view what) {
    if (value.find(separator) == std::string_view::npos) return true;
    return fail(where, std::string(what) + " must not contain \"" + separator + "\": it separates entries");
}

}  // namespace generator
