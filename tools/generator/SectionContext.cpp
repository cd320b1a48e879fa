#include "Sections.h"

#include "AnsiText.h"
#include "Utf.h"
#include "core/ConfigKeys.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace generator {
namespace {

// Replaces the value of `key` in place, or adds it at the end.
template <typename Entries, typename Value>
void putEntry(Entries& entries, int32_t key, Value value) {
    const auto same = std::find_if(entries.begin(), entries.end(), [key](const auto& e) { return e.key == key; });
    if (same != entries.end()) same->value = std::move(value);
    else entries.push_back({key, std::move(value)});
}

}  // namespace

bool SectionContext::setNarrow(int32_t key, std::string_view utf8, const toml::source_region& where, size_t capacity) {
    std::string ansi, bad;
    if (!utf8ToAnsi(utf8, ansi, bad))
        return fields.fail(where, "\"" + bad + "\" cannot be written in the launcher's ANSI code page (Windows-1252)");
    if (ansi.size() > capacity)
        return fields.fail(where, "text of " + std::to_string(ansi.size()) + " bytes is longer than the launcher's " +
                                    std::to_string(capacity) + " and would be cut at run time");
    putEntry(result.record.narrowEntries, key, std::move(ansi));
    return true;
}

bool SectionContext::wideValue(std::string_view utf8, const toml::source_region& where, std::u16string& wide) {
    wide = utf8ToUtf16(utf8);
    if (wide.size() > kValueCapacity)
        return fields.fail(where, "text of " + std::to_string(wide.size()) + " characters is longer than the launcher's " +
                                    std::to_string(kValueCapacity) + " and would be cut at run time");
    return true;
}

bool SectionContext::setWide(int32_t key, std::string_view utf8, const toml::source_region& where) {
    std::u16string wide;
    if (!wideValue(utf8, where, wide)) return false;
    putEntry(result.record.wideEntries, key, std::move(wide));
    return true;
}

const config::EntryForm* SectionContext::entryKind(const toml::table& entry, std::span<const config::EntryForm> forms,
                                                   std::string_view what) {
    std::vector<std::string_view> names;
    for (const config::EntryForm& form : forms) names.push_back(form.name);
    bool ok = true;
    const int kind = fields.choice(entry, "kind", names, -2, ok);
    if (!ok) return nullptr;
    if (kind == -2) {
        fields.fail(entry, std::string(what) + " needs a kind: " + quotedChoices(names, " or "));
        return nullptr;
    }
    return &forms[kind];
}

// The launcher splits the options text with the command-line rules: an option
// with blanks is quoted, and quotes inside options are refused rather than
// guessed at.
bool SectionContext::addVmOptions(std::span<const VmOption> options, const toml::source_region& where) {
    for (const VmOption& option : options) {
        const std::string& text = option.text;
        if (text.empty()) return fields.fail(option.where, "a VM option must not be empty");
        if (text.find('"') != std::string::npos)
            return fields.fail(option.where, "a VM option must not contain a double quote");
        const bool blank = text.find_first_of(" \t") != std::string::npos;
        if (blank && text.back() == '\\')
            return fields.fail(option.where,
                               "a VM option with blanks must not end in a backslash (it would escape the closing quote)");
        vmOptions_ += vmOptions_.empty() ? "" : " ";
        vmOptions_ += blank ? "\"" + text + "\"" : text;
    }
    return setNarrow(config::kVmOptions, vmOptions_, where);
}

std::filesystem::path SectionContext::resolve(const std::filesystem::path& source) const {
    std::filesystem::path path = source.is_absolute() ? source : options.baseDirectory / source;
    // What messages show has one separator: on Windows the backslash.
    path.make_preferred();
    return path;
}

bool SectionContext::readFile(const toml::value<std::string>& name, std::string_view what, std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = resolve(name);
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, ec))
        return fields.fail(name, "cannot read the " + std::string(what) + ": " + pathText(path));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace generator
