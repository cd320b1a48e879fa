#include "standin/standin_jvm/StandinJvmConfig.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace standin {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

template <typename Integer>
bool parseInteger(std::string_view text, Integer& value) {
    Integer parsed{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
    value = parsed;
    return true;
}

std::vector<std::string_view> commaList(std::string_view text) {
    std::vector<std::string_view> items;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        items.push_back(trimmed(text.substr(start, comma - start)));
        start = comma + 1;
    }
    return items;
}

bool parseSteps(std::string_view text, std::vector<MainStep>& steps) {
    static const std::pair<std::string_view, MainStep> names[] = {
        {"sleep", MainStep::Sleep},   {"exit", MainStep::Exit},
        {"window", MainStep::Window}, {"stdin", MainStep::StandardInput},
        {"instance-file", MainStep::InstanceFile}, {"priority", MainStep::Priority},
        {"print", MainStep::Print},
    };
    steps.clear();
    if (text == "return") return true;
    for (std::string_view item : commaList(text)) {
        bool known = false;
        for (const auto& [name, step] : names) {
            if (item == name) {
                steps.push_back(step);
                known = true;
            }
        }
        if (!known) return false;
    }
    return true;
}

bool parseBoolean(std::string_view text, bool& value) {
    if (text != "true" && text != "false") return false;
    value = text == "true";
    return true;
}

bool parseFirstRun(std::string_view text, FirstRunOutcome& outcome) {
    if (text == "true") outcome = FirstRunOutcome::ReturnTrue;
    else if (text == "false") outcome = FirstRunOutcome::ReturnFalse;
    else if (text == "throw") outcome = FirstRunOutcome::Throw;
    else return false;
    return true;
}

bool applyEntry(std::string_view key, std::string_view value, StandinJvmConfig& config) {
    if (key == "create.result") return parseInteger(value, config.createResult);
    if (key == "main") return parseSteps(value, config.mainSteps);
    if (key == "main.sleep-ms") return parseInteger(value, config.sleepMs);
    if (key == "main.exit-code") return parseInteger(value, config.exitCode);
    if (key == "main.window-title") {
        config.windowTitle = value;
        return true;
    }
    if (key == "main.instance-file") {
        config.instanceFile = value;
        return !value.empty();
    }
    if (key == "main.instance-count") return parseInteger(value, config.instanceCount);
    if (key == "main.print-bytes") return parseInteger(value, config.printBytes);
    if (key == "main.wait-ms") return parseInteger(value, config.waitMs);
    if (key == "main.throws") return parseBoolean(value, config.mainThrows);
    if (key == "firstRun") return parseFirstRun(value, config.firstRun);
    if (key == "missing-methods") {
        config.missingMethods.clear();
        for (std::string_view name : commaList(value)) {
            if (name.empty()) return false;
            config.missingMethods.emplace_back(name);
        }
        return true;
    }
    return false;
}

}  // namespace

bool parseStandinJvmConfig(std::string_view text, StandinJvmConfig& config, std::string& badLine) {
    StandinJvmConfig parsed;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#') continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos ||
            !applyEntry(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)), parsed)) {
            badLine = line;
            return false;
        }
    }
    config = std::move(parsed);
    return true;
}

}  // namespace standin
