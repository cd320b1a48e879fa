#include "LauncherDescription.h"

#include "Utf.h"
#include "core/ConfigKeys.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace payload {
namespace {

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// A key is a number or a name from the key catalogue ("launcherKind").
bool parseKey(std::string_view text, int32_t& key) {
    text = trim(text);
    if (const config::KeyInfo* named = config::findKeyByName(text)) {
        key = named->key;
        return true;
    }
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, key);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool parseValue(std::string_view text, std::string& value) {
    text = trim(text);
    if (text.empty() || text.front() != '"') {
        value.assign(text);
        return true;
    }
    if (text.size() < 2 || text.back() != '"') return false;
    value.clear();
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 2 < text.size() ? text[i + 1] : '\0';
        if (c == '\\' && (next == 'n' || next == 't' || next == '"' || next == '\\')) {
            value.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next);
            ++i;
        } else {
            value.push_back(c);  // any other backslash is literal, as in Windows paths
        }
    }
    return true;
}

// Splits "words = value" into the words before "=" and the value text.
bool splitAssignment(std::string_view line, std::vector<std::string_view>& words, std::string_view& valueText) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    valueText = line.substr(equals + 1);
    std::string_view head = trim(line.substr(0, equals));
    words.clear();
    while (!head.empty()) {
        const size_t blank = head.find_first_of(" \t");
        words.push_back(head.substr(0, blank));
        head = blank == std::string_view::npos ? std::string_view{} : trim(head.substr(blank));
    }
    return !words.empty();
}

bool parseLine(std::string_view line, const std::filesystem::path& base, LauncherPayload& payload) {
    std::vector<std::string_view> words;
    std::string_view valueText;
    std::string value;
    if (!splitAssignment(line, words, valueText) || !parseValue(valueText, value)) return false;
    int32_t key;
    if (words.size() == 1 && parseKey(words[0], key)) {
        payload.record.narrowEntries.push_back({key, value});
        return true;
    }
    if (words.size() == 2 && words[0] == "wide" && parseKey(words[1], key)) {
        payload.record.wideEntries.push_back({key, utf8ToUtf16(value)});
        return true;
    }
    if (words.size() == 3 && words[0] == "locale" && parseKey(words[2], key)) {
        addLocaleOverride(payload.record, std::string(words[1]), key, utf8ToUtf16(value));
        return true;
    }
    if (words.size() == 2 && words[0] == "file" && !value.empty()) {
        std::filesystem::path source(value);
        if (source.is_relative()) source = base / source;
        payload.files.push_back({std::string(words[1]), source});
        return true;
    }
    return false;
}

}  // namespace

void addLocaleOverride(ConfigurationRecord& record, const std::string& prefix, int32_t key, std::u16string value) {
    for (LocaleSection& section : record.localeSections) {
        if (section.prefix == prefix) {
            section.entries.push_back({key, std::move(value)});
            return;
        }
    }
    record.localeSections.push_back({prefix, {{key, std::move(value)}}});
}

bool parseLauncherDescription(std::string_view text, const std::filesystem::path& baseDirectory, LauncherPayload& payload,
                      std::string& error) {
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (!parseLine(line, baseDirectory, payload)) {
            error = "line " + std::to_string(lineNumber) + ": cannot read \"" + std::string(line) + "\"";
            return false;
        }
    }
    return true;
}

bool readLauncherDescriptionFile(const std::filesystem::path& path, LauncherPayload& payload, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + pathText(path);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!parseLauncherDescription(text.str(), path.parent_path(), payload, error)) {
        error = pathText(path) + ", " + error;
        return false;
    }
    return true;
}

bool parseKeyValue(std::string_view item, int32_t& key, std::string& value, std::string& error) {
    const size_t equals = item.find('=');
    if (equals == std::string_view::npos || !parseKey(item.substr(0, equals), key)) {
        error = "expected KEY=VALUE with a key number or name, got \"" + std::string(item) + "\"";
        return false;
    }
    value.assign(item.substr(equals + 1));
    return true;
}

}  // namespace payload
