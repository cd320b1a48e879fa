#include "support/JvmTranscript.h"

#include "standin/standin_jvm/StandinJvmFormat.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace {

struct Token {
    enum class Kind { Word, Narrow, Wide } kind = Kind::Word;
    std::string bytes;
    std::u16string units;
};

bool hexValue(std::string_view digits, uint32_t& value) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return !digits.empty() && error == std::errc() && end == digits.data() + digits.size();
}

// A quoted text from just past its opening quote; `at` ends past the closing one.
bool readQuoted(std::string_view line, size_t& at, Token& token) {
    const bool wide = token.kind == Token::Kind::Wide;
    while (at < line.size() && line[at] != '"') {
        uint32_t unit = static_cast<unsigned char>(line[at++]);
        if (unit == '\\') {
            if (at >= line.size()) return false;
            const char escape = line[at++];
            const size_t digits = escape == 'x' && !wide ? 2 : escape == 'u' && wide ? 4 : 0;
            if (digits > 0) {
                if (line.size() - at < digits || !hexValue(line.substr(at, digits), unit)) return false;
                at += digits;
            } else if (escape == '"' || escape == '\\') {
                unit = static_cast<unsigned char>(escape);
            } else {
                return false;
            }
        } else if (unit < 0x20 || unit > 0x7E) {
            return false;  // the writer escapes everything else
        }
        if (wide) token.units += static_cast<char16_t>(unit);
        else token.bytes += static_cast<char>(unit);
    }
    if (at >= line.size()) return false;
    ++at;
    return at == line.size() || line[at] == ' ';
}

bool tokenize(std::string_view line, std::string& keyword, std::vector<Token>& tokens) {
    size_t at = std::min(line.find(' '), line.size());
    keyword = line.substr(0, at);
    if (keyword.empty()) return false;
    while (at < line.size()) {
        ++at;  // the blank before a token
        Token token;
        if (line.substr(at).starts_with("u\"")) {
            token.kind = Token::Kind::Wide;
            at += 2;
            if (!readQuoted(line, at, token)) return false;
        } else if (line.substr(at).starts_with("\"")) {
            token.kind = Token::Kind::Narrow;
            at += 1;
            if (!readQuoted(line, at, token)) return false;
        } else {
            const size_t end = std::min(line.find(' ', at), line.size());
            token.bytes = line.substr(at, end - at);
            if (token.bytes.empty()) return false;
            at = end;
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

template <typename Integer>
bool number(const std::vector<Token>& tokens, Integer& value) {
    if (tokens.size() != 1 || tokens[0].kind != Token::Kind::Word) return false;
    std::string_view text = tokens[0].bytes;
    int base = 10;
    if (text.starts_with("0x")) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Fills the session header fields; false for a malformed header line.
bool readHeaderLine(const std::string& keyword, const std::vector<Token>& tokens, JvmSession& session) {
    if (keyword == "startup-ms") return number(tokens, session.startupMs);
    if (keyword == "startup-us") return number(tokens, session.startupUs);
    if (keyword == "version") return number(tokens, session.version);
    if (keyword == "option") {
        if (tokens.size() != 1 || tokens[0].kind != Token::Kind::Narrow) return false;
        session.options.push_back(tokens[0].bytes);
        return true;
    }
    if (keyword == "ignoreUnrecognized") {
        int value = 0;
        if (!number(tokens, value)) return false;
        session.ignoreUnrecognized = value != 0;
        return true;
    }
    session.createdSeen = true;  // "created"
    return number(tokens, session.createResult);
}

}  // namespace

std::vector<std::string> JvmSession::functions() const {
    std::vector<std::string> names;
    for (const JvmCall& call : calls) names.push_back(call.function);
    return names;
}

std::vector<const JvmCall*> JvmSession::callsOf(std::string_view function) const {
    std::vector<const JvmCall*> found;
    for (const JvmCall& call : calls) {
        if (call.function == function) found.push_back(&call);
    }
    return found;
}

bool parseJvmTranscript(std::string_view text, std::vector<JvmSession>& sessions, std::string& error) {
    std::vector<JvmSession> parsed;
    size_t start = 0;
    for (int lineNumber = 1; start < text.size(); ++lineNumber) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);

        std::string keyword;
        std::vector<Token> tokens;
        bool valid = tokenize(line, keyword, tokens);
        if (valid && keyword == "session") {
            parsed.emplace_back();
            valid = number(tokens, parsed.back().processId);
        } else if (valid && parsed.empty()) {
            valid = false;  // everything belongs to a session
        } else if (valid && !parsed.back().createdSeen &&
                   (keyword == "startup-ms" || keyword == "startup-us" || keyword == "version" || keyword == "option" ||
                    keyword == "ignoreUnrecognized" || keyword == "created")) {
            valid = readHeaderLine(keyword, tokens, parsed.back());
        } else if (valid) {
            JvmCall call{keyword, {}, {}};
            for (Token& token : tokens) {
                if (token.kind == Token::Kind::Wide) call.texts.push_back(std::move(token.units));
                else call.words.push_back(std::move(token.bytes));
            }
            parsed.back().calls.push_back(std::move(call));
        }
        if (!valid) {
            error = "transcript line " + std::to_string(lineNumber) + ": " + std::string(line);
            return false;
        }
    }
    sessions = std::move(parsed);
    return true;
}

bool readJvmTranscript(const std::filesystem::path& directory, std::vector<JvmSession>& sessions, std::string& error) {
    std::ifstream file(directory / standin::kTranscriptFileName, std::ios::binary);
    if (!file) {
        sessions.clear();
        return true;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseJvmTranscript(text.str(), sessions, error);
}

bool writeStandinJvmConfig(const std::filesystem::path& directory,
                           const std::vector<std::pair<std::string, std::string>>& entries) {
    std::ofstream file(directory / standin::kConfigFileName, std::ios::binary | std::ios::trunc);
    for (const auto& [key, value] : entries) file << key << '=' << value << '\n';
    file.close();
    return !file.fail();
}
