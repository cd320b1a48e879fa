#include "Sections.h"

#include "core/ConfigKeys.h"

// [gui]: the GUI launcher's console switches and splash screen.
namespace generator {
namespace {

// The splash shows only when both keys are set.
bool setSplash(SectionContext& context, bool on, const toml::source_region& where) {
    return context.setFlag(config::kShowSplashScreen, on, where) &&
           context.setFlag(config::kSplashScreenEnabled, on, where);
}

}  // namespace

bool readGui(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* gui = fields.section(root, "gui", {"consoleSwitches", "splash"}, ok);
    if (!gui) return ok;
    if (context.options.program != LauncherProgram::Gui)
        return fields.fail(gui->source(), "[gui] needs the GUI launcher template");
    const int switches = fields.choice(*gui, "consoleSwitches", {"none", "console", "all"}, -2, ok);
    // splash: true shows the template's image, a file name shows that image.
    const toml::node* splashNode = gui->get("splash");
    const auto* splash = splashNode && splashNode->is_string() ? nullptr : fields.flag(*gui, "splash", ok);
    if (!ok) return false;
    if (splashNode && splashNode->is_string()) {
        const auto& image = *splashNode->as_string();
        if (context.options.checkFiles) {
            std::string problem;
            if (!context.readFile(image, "splash image", context.result.resources.splash)) return false;
            if (!resources::checkSplashImage(context.result.resources.splash, problem))
                return fields.fail(image, "splash image " + pathText(context.resolve(image)) + " " + problem);
        }
        if (!setSplash(context, true, image.source())) return false;
    }
    if (switches != -2) {
        const auto& where = gui->get("consoleSwitches")->source();
        if (!context.setFlag(config::kAcceptQuietAndConsoleSwitches, switches == 2, where) ||
            !context.setFlag(config::kAcceptConsoleSwitch, switches == 1, where))
            return false;
    }
    return !splash || setSplash(context, splash->get(), splash->source());
}

}  // namespace generator
