#include "launch/JvmOptions.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/Locale.h"
#include "log/Log.h"

namespace {

constexpr std::u16string_view kFormatAsDefaultPrefix = u"-Dsun.locale.formatasdefault=";
constexpr std::u16string_view kFormatAsDefaultTrue = u"-Dsun.locale.formatasdefault=true";
constexpr std::string_view kIncludeOptions = "-include-options";

// The last "-Dsun.locale.formatasdefault=" argument; unless it asks for the
// format locale, the selected language and country follow it.
void addLocaleOptions(const std::vector<std::u16string>& launcherArguments, VmOptionList& options,
                      ClassPathDirectives& directives, const VmOptionsEnvironment& environment,
                      const TextConverters& converters) {
    const std::u16string* last = nullptr;
    for (const std::u16string& argument : launcherArguments)
        if (argument.starts_with(kFormatAsDefaultPrefix)) last = &argument;
    if (last == nullptr) return;
    handleVmOption(nullptr, converters.toNarrow(*last), options, directives, environment);
    if (*last == kFormatAsDefaultTrue) return;
    char code[3];
    if (localeLanguage(code)) handleVmOption(nullptr, std::string("-Duser.language=") + code, options, directives, environment);
    if (localeCountry(code)) handleVmOption(nullptr, std::string("-Duser.country=") + code, options, directives, environment);
}

}  // namespace

void addConfiguredVmOptions(const std::vector<std::u16string>& launcherArguments, VmOptionList& options,
                            ClassPathDirectives& directives, LaunchSystem& system,
                            const VmOptionsEnvironment& environment, const TextConverters& converters) {
    char configured[kBufferCapacity];
    configString(config::kVmOptions, configured, sizeof configured);
    std::string text = configured;
    system.expandVariables(text);
    std::vector<std::string> words;
    splitOptionText(text, words, converters);

    logMessage("adding options\n");
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == kIncludeOptions && i + 1 < words.size()) {
            handleVmOption(nullptr, words[i] + " " + words[i + 1], options, directives, environment);
            ++i;
        } else {
            handleVmOption(nullptr, words[i], options, directives, environment);
        }
    }
    addJvmArguments(launcherArguments, dashJArgumentsAreJvmOptions(), options, directives, environment, converters);
    addLocaleOptions(launcherArguments, options, directives, environment, converters);
}

JvmOptions buildJvmOptions(JvmOptionInputs inputs, LaunchSystem& system, const VmOptionsEnvironment& environment,
                           const TextConverters& converters) {
    JvmOptions result;
    result.options = std::move(inputs.launcherProperties);
    ClassPathDirectives directives;
    addConfiguredVmOptions(*inputs.launcherArguments, result.options, directives, system, environment, converters);

    logMessage("default vmoptions file: %p", static_cast<void*>(inputs.defaultOptionsFile.get()));
    if (inputs.defaultOptionsFile)
        readDefaultVmOptionsFile(inputs.defaultOptionsPath, std::move(inputs.defaultOptionsFile), result.options,
                                 directives, environment);

    ClassPathOption classPath = buildClassPathOption({inputs.tempDir, inputs.brantel, &directives}, system);
    result.options.push_back(std::move(classPath.option));
    result.missing = std::move(classPath.missing);
    return result;
}
