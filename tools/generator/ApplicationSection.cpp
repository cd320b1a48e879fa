#include "Sections.h"

#include "core/ConfigKeys.h"
#include "core/LauncherState.h"

// [application] and [[classPath]]: what the application is and where its
// classes are.
namespace generator {

bool readApplication(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* app = fields.section(root, "application",
                                            {"name", "mainClass", "arguments", "workingDirectory", "directory",
                                             "flavor", "dashJArguments", "nativeLibraryDirectories", "singleInstance"},
                                            ok);
    if (!ok) return false;
    if (!app) return fields.fail(root.source(), "missing [application] with its mainClass");
    const auto* mainClass = fields.text(*app, "mainClass", ok);
    if (!ok) return false;
    if (!mainClass || mainClass->get().empty())
        return fields.fail(mainClass ? mainClass->source() : app->source(), "[application] needs a mainClass");
    context.applicationName = fields.text(*app, "name", ok);
    const int flavor = fields.choice(*app, "flavor", {"zelkor", "brantel"}, 0, ok);
    const int instance = fields.choice(*app, "singleInstance", {"none", "local", "global"}, 0, ok);
    const auto* arguments = fields.text(*app, "arguments", ok);
    const auto* workingDirectory = fields.text(*app, "workingDirectory", ok);
    const auto* directory = fields.text(*app, "directory", ok);
    const auto* dashJ = fields.flag(*app, "dashJArguments", ok);
    std::vector<const toml::value<std::string>*> natives;
    bool hasNatives = false;
    if (!ok || !fields.stringArray(*app, "nativeLibraryDirectories", natives, hasNatives)) return false;

    // A service's start type may change the kind.
    const int kind =
        context.options.program == LauncherProgram::Gui ? config::kLauncherKindGui : config::kLauncherKindService;
    if (!context.setNarrow(config::kLauncherKind, std::to_string(kind), app->source())) return false;
    const char flavorLetter = flavor == 0 ? kZelkorFlavor : kBrantelFlavor;
    if (!context.setNarrow(config::kFlavor, std::string(1, flavorLetter), app->source())) return false;
    if (context.applicationName && !context.setNarrow(config::kApplicationName, *context.applicationName)) return false;
    if (!context.setNarrow(config::kMainClass, *mainClass)) return false;
    if (arguments && !context.setNarrow(config::kApplicationArguments, *arguments)) return false;
    if (workingDirectory && !context.setNarrow(config::kWorkingDirectory, *workingDirectory)) return false;
    if (directory && !context.setNarrow(config::kApplicationDirectory, *directory)) return false;
    if (dashJ && !context.setFlag(config::kDashJArgumentsAreJvmOptions, dashJ->get(), dashJ->source())) return false;
    if (hasNatives) {
        std::string joined;
        for (const auto* item : natives) {
            if (!fields.noneOf(*item, item->get(), ';', "a native library directory")) return false;
            joined += (joined.empty() ? "" : ";") + item->get();
        }
        if (!context.setNarrow(config::kNativeLibraryDirectories, joined,
                               app->get("nativeLibraryDirectories")->source()))
            return false;
    }
    if (instance > 0) {
        const toml::source_region& where = app->get("singleInstance")->source();
        if (!context.setFlag(config::kSingleInstance, true, where)) return false;
        if (!context.setFlag(config::kGlobalSingleInstance, instance == 2, where)) return false;
    }
    return true;
}

bool readClassPath(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    const toml::node* node = root.get("classPath");
    if (!node) return true;
    const toml::array* entries = node->as_array();
    if (!entries)
        return fields.fail(*node, "classPath must be an array of tables ([[classPath]]), not " +
                                    std::string(tomlTypeName(*node)));
    std::string joined;
    for (const toml::node& item : *entries) {
        const toml::table* entry = item.as_table();
        if (!entry) return fields.fail(item, "a classPath entry must be a table, not " + std::string(tomlTypeName(item)));
        if (!fields.onlyFields(*entry, "a classPath entry", {"kind", "path", "variable", "required"})) return false;
        const config::EntryForm* form = context.entryKind(*entry, config::kClassPathForms, "a classPath entry");
        if (!form) return false;
        const bool byVariable = form->argument == config::EntryArgument::Variable;
        const std::string needed(config::entryArgumentName(form->argument));
        const std::string other(config::entryArgumentName(byVariable ? config::EntryArgument::Path
                                                                      : config::EntryArgument::Variable));
        if (const toml::node* wrong = entry->get(other))
            return fields.fail(*wrong, "a \"" + needed + "\" entry takes " + needed + ", not " + other);
        bool ok = true;
        const auto* value = fields.text(*entry, needed, ok);
        const auto* required = fields.flag(*entry, "required", ok);
        if (!ok) return false;
        if (!value || value->get().empty())
            return fields.fail(value ? value->source() : entry->source(), "this classPath entry needs its " + needed);
        if (!fields.noneOf(*value, value->get(), config::kEntrySeparator, "a class path entry")) return false;
        joined += form->letter;
        joined += required && required->get() ? config::kClassPathRequired : config::kClassPathOptional;
        joined += value->get() + config::kEntrySeparator;
    }
    return context.setNarrow(config::kClassPath, joined, node->source());
}

}  // namespace generator
