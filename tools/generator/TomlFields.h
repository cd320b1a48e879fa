#pragma once

#include "Toml.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Typed access to the fields of a parsed launcher description. Every problem
// becomes one error, "<source>:<line>:<column>: <message>", and a false
// result; once `ok` is false the accessors read nothing more.
namespace generator {

// "a string", "an integer", ...: what a node is, for error messages.
std::string_view tomlTypeName(const toml::node& node);

// "\"a\", \"b\"<lastJoin>\"c\"": the choices of a field for error messages.
std::string quotedChoices(std::span<const std::string_view> choices, std::string_view lastJoin = ", ");

class TomlFields {
public:
    TomlFields(std::string sourceName, std::string& error) : sourceName_(std::move(sourceName)), error_(error) {}

    // Sets the error; always false.
    bool fail(const toml::source_region& where, const std::string& message);
    bool fail(const toml::node& node, const std::string& message) { return fail(node.source(), message); }

    // False, with an error at the first field of `table` that `fields` does not name.
    bool onlyFields(const toml::table& table, std::string_view section, std::initializer_list<std::string_view> fields);

    // The sub-table `name`, or nullptr when it is absent or (with `ok` false) not a table.
    const toml::table* section(const toml::table& parent, std::string_view name, bool& ok);
    // The same for a section "[name]" that may hold only the fields `allowed`:
    // nullptr with `ok` false when it holds another one.
    const toml::table* section(const toml::table& parent, std::string_view name,
                               std::initializer_list<std::string_view> allowed, bool& ok);

    // A field of the expected type, or nullptr when it is absent or (with `ok` false) of another type.
    template <typename T>
    const toml::value<T>* field(const toml::table& table, std::string_view name, std::string_view expected, bool& ok) {
        const toml::node* node = table.get(name);
        if (!node || !ok) return nullptr;
        const toml::value<T>* value = node->as<T>();
        if (!value)
            ok = fail(*node, std::string(name) + " must be " + std::string(expected) + ", not " +
                                 std::string(tomlTypeName(*node)));
        return value;
    }
    const toml::value<std::string>* text(const toml::table& t, std::string_view name, bool& ok) {
        return field<std::string>(t, name, "a string", ok);
    }
    const toml::value<bool>* flag(const toml::table& t, std::string_view name, bool& ok) {
        return field<bool>(t, name, "true or false", ok);
    }

    // The index of the string field's value in `choices`: `fallback` when the
    // field is absent, -1 on error.
    int choice(const toml::table& t, std::string_view name, std::span<const std::string_view> choices, int fallback,
               bool& ok);
    int choice(const toml::table& t, std::string_view name, std::initializer_list<std::string_view> choices,
               int fallback, bool& ok) {
        return choice(t, name, std::span(choices.begin(), choices.size()), fallback, ok);
    }

    // The strings of an array field; `present` tells whether the field is there.
    bool stringArray(const toml::table& t, std::string_view name, std::vector<const toml::value<std::string>*>& items,
                     bool& present);

    // False, with an error, when `value` holds the separator of the list it goes into.
    bool noneOf(const toml::node& where, std::string_view value, char separator, std::string_view what);

private:
    std::string sourceName_;
    std::string& error_;
};

}  // namespace generator
