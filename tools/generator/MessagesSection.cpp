#include "Sections.h"

#include "core/MessageNames.h"

// [messages]: the texts of the launcher's message boxes and error lines.
namespace generator {
namespace {

bool takesDetail(const config::KeyInfo& message) {
    return message.shippedText.find("{0}") != std::string_view::npos;
}

// Only "{0}" is filled in, once, and only in the messages that are given a detail.
bool checkPlaceholders(std::string_view text, bool takesDetail, std::string& problem) {
    int zeros = 0;
    for (size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
        size_t end = open + 1;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        if (end == open + 1 || end >= text.size() || text[end] != '}') continue;
        const std::string_view placeholder = text.substr(open, end - open + 1);
        if (placeholder != "{0}") {
            problem = "placeholder \"" + std::string(placeholder) + "\" is never filled in; only \"{0}\" is";
            return false;
        }
        ++zeros;
    }
    if (zeros > 0 && !takesDetail) {
        problem = "this message is shown without a detail, so \"{0}\" would appear as it is";
        return false;
    }
    if (zeros > 1) {
        problem = "only the first \"{0}\" is filled in";
        return false;
    }
    return true;
}

}  // namespace

bool readMessages(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* messages = fields.section(root, "messages", ok);
    if (!ok) return false;
    if (messages) {
        for (auto&& [key, node] : *messages) {
            if (!config::findMessageByName(key.str()))
                return fields.fail(key.source(), "unknown message \"" + std::string(key.str()) + "\" in [messages]");
            if (!node.is_string())
                return fields.fail(node, std::string(key.str()) + " must be a string, not " +
                                           std::string(tomlTypeName(node)));
        }
    }
    // Every message is written: the shipped text unless the file gives its own.
    for (const config::KeyInfo& info : config::keyCatalogue()) {
        if (!config::isMessageKey(info.key)) continue;
        const std::string name = config::messageName(info);
        const toml::value<std::string>* given = messages ? fields.text(*messages, name, ok) : nullptr;
        std::string problem;
        if (given && !checkPlaceholders(given->get(), takesDetail(info), problem))
            return fields.fail(*given, name + ": " + problem);
        if (!context.setNarrow(info.key, given ? std::string_view(given->get()) : info.shippedText,
                               given ? given->source() : root.source()))
            return false;
    }
    return true;
}

}  // namespace generator
