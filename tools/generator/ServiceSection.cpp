#include "Sections.h"

#include "Durations.h"
#include "core/ConfigKeys.h"
#include "service/ServiceSettings.h"

#include <algorithm>

// [service] and [translations]: how the service launcher registers its
// service, and the service description by locale.
namespace generator {
namespace {

bool validLocalePrefix(std::string_view prefix) {
    const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    if (prefix == "no_NO_NY") return true;
    if (prefix.size() != 2 && prefix.size() != 5) return false;
    if (!lower(prefix[0]) || !lower(prefix[1])) return false;
    return prefix.size() == 2 || (prefix[2] == '_' && upper(prefix[3]) && upper(prefix[4]));
}

constexpr const char* kDurationForms = "whole seconds or a duration such as \"30s\", \"10min\", \"1h\" or \"1d\"";

// A duration field in seconds: nullopt when absent or (with `ok` false) not a duration.
std::optional<uint32_t> duration(TomlFields& fields, const toml::table& table, std::string_view name, bool& ok) {
    const toml::node* node = table.get(name);
    if (!node || !ok) return std::nullopt;
    if (const auto* number = node->as_integer(); number && number->get() >= 0 && number->get() <= UINT32_MAX)
        return static_cast<uint32_t>(number->get());
    if (const auto* text = node->as_string())
        if (const std::optional<uint32_t> seconds = parseDurationSeconds(text->get())) return seconds;
    ok = fields.fail(*node, std::string(name) + " must be " + kDurationForms);
    return std::nullopt;
}

// [service.onFailure]: what the service control manager does each time the
// service fails, as the launcher writes it at install.
bool readFailureActions(SectionContext& context, const toml::table& service) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* onFailure = fields.section(service, "onFailure", {"actions", "resetAfter"}, ok);
    if (!onFailure) return ok;
    std::vector<const toml::value<std::string>*> actions;
    bool present = false;
    const uint32_t resetSeconds = duration(fields, *onFailure, "resetAfter", ok).value_or(86400);
    if (!ok || !fields.stringArray(*onFailure, "actions", actions, present)) return false;
    if (actions.empty())
        return fields.fail(onFailure->source(), "onFailure needs actions: \"restart 10s\" or \"none\" for each failure");
    if (actions.size() > kMaxFailureActions)
        return fields.fail(*actions[kMaxFailureActions],
                           "onFailure takes at most " + std::to_string(kMaxFailureActions) + " actions");
    std::string encoded = std::to_string(resetSeconds);
    for (const auto* action : actions) {
        const std::string_view text = action->get();
        std::optional<uint32_t> delay = 0;
        if (text != "none") {
            delay = text.starts_with("restart ") ? parseDurationSeconds(text.substr(8)) : std::nullopt;
            if (!delay || *delay > UINT32_MAX / 1000)
                return fields.fail(*action, "a failure action is \"none\" or \"restart\" and a delay of at most "
                                            "49 days, such as \"restart 10s\" or \"restart 1min\"");
        }
        const uint32_t type = text == "none" ? kFailureActionNone : kFailureActionRestart;
        encoded += ";" + std::to_string(type) + ":" + std::to_string(*delay * 1000);
    }
    return context.setNarrow(config::kServiceFailureActions, encoded, onFailure->source());
}

}  // namespace

bool readService(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* service =
        fields.section(root, "service",
                       {"name", "description", "dependencies", "startType", "stopTimeout", "delayedAutoStart", "onFailure"},
                       ok);
    if (!service) return ok;
    if (context.options.program != LauncherProgram::Service)
        return fields.fail(service->source(), "[service] needs the service launcher template");
    const auto* name = fields.text(*service, "name", ok);
    const auto* description = fields.text(*service, "description", ok);
    const int startType = fields.choice(*service, "startType", {"automatic", "manual"}, 0, ok);
    const std::optional<uint32_t> stopTimeout = duration(fields, *service, "stopTimeout", ok);
    const auto* delayedAutoStart = fields.flag(*service, "delayedAutoStart", ok);
    std::vector<const toml::value<std::string>*> dependencies;
    bool hasDependencies = false;
    if (!ok || !fields.stringArray(*service, "dependencies", dependencies, hasDependencies)) return false;
    if (name) {
        if (context.applicationName && context.applicationName->get() != name->get())
            return fields.fail(*name, "the service name is the application name; give it once");
        if (!context.setNarrow(config::kApplicationName, *name)) return false;
    }
    // The service launcher installs with the automatic start type only for its own kind.
    if (startType == 1 &&
        !context.setNarrow(config::kLauncherKind, std::to_string(config::kLauncherKindQuiet), service->source()))
        return false;
    if (description && !context.setWide(config::kServiceDescription, description->get(), description->source()))
        return false;
    if (stopTimeout) {
        const toml::node& where = *service->get("stopTimeout");
        if (*stopTimeout < 1 || *stopTimeout > kMaxStopTimeoutSeconds)
            return fields.fail(where, "stopTimeout must lie between 1 second and 1 hour");
        if (!context.setNarrow(config::kServiceStopTimeout, std::to_string(*stopTimeout), where.source())) return false;
    }
    if (delayedAutoStart) {
        if (startType == 1 && delayedAutoStart->get())
            return fields.fail(*delayedAutoStart, "delayedAutoStart needs the automatic start type");
        if (!context.setFlag(config::kServiceDelayedAutoStart, delayedAutoStart->get(), delayedAutoStart->source()))
            return false;
    }
    if (!readFailureActions(context, *service)) return false;
    if (hasDependencies) {
        std::string joined;
        for (const auto* item : dependencies) {
            if (item->get().empty()) return fields.fail(*item, "a service dependency must not be empty");
            if (!fields.noneOf(*item, item->get(), ',', "a service dependency")) return false;
            joined += (joined.empty() ? "" : ",") + item->get();
        }
        if (!context.setNarrow(config::kServiceDependencies, joined, service->get("dependencies")->source()))
            return false;
    }
    return true;
}

// Only wide texts follow the locale at run time; the launcher keeps its
// message texts in the ANSI code page and never switches them.
bool readTranslations(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* translations = fields.section(root, "translations", ok);
    if (!translations) return ok;
    std::vector<payload::LocaleSection> sections;
    for (auto&& [prefix, node] : *translations) {
        if (!validLocalePrefix(prefix.str()))
            return fields.fail(prefix.source(), "\"" + std::string(prefix.str()) +
                                                  "\" is not a locale: write \"de\", \"de_AT\" or \"no_NO_NY\"");
        const toml::table* texts = node.as_table();
        if (!texts) return fields.fail(node, "a translation must be a table, not " + std::string(tomlTypeName(node)));
        for (auto&& [name, value] : *texts) {
            if (name.str() != "serviceDescription")
                return fields.fail(name.source(), "\"" + std::string(name.str()) +
                                                    "\" cannot be translated: the launcher switches only the service "
                                                    "description by locale");
        }
        if (context.options.program != LauncherProgram::Service)
            return fields.fail(node, "translations need the service launcher template");
        const auto* description = fields.text(*texts, "serviceDescription", ok);
        if (!ok) return false;
        payload::LocaleSection section{std::string(prefix.str()), {}};
        if (description) {
            std::u16string wide;
            if (!context.wideValue(description->get(), description->source(), wide)) return false;
            section.entries.push_back({config::kServiceDescription, std::move(wide)});
        }
        sections.push_back(std::move(section));
    }
    // General sections before specific ones, so that "de_AT" wins over "de".
    std::stable_sort(sections.begin(), sections.end(),
                     [](const auto& a, const auto& b) { return a.prefix.size() < b.prefix.size(); });
    context.result.record.localeSections = std::move(sections);
    return true;
}

}  // namespace generator
