#include "launch/LauncherArguments.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"

namespace {

constexpr std::u16string_view kJvmArgumentPrefix = u"-J";
constexpr std::u16string_view kFormatAsDefaultPrefix = u"-Dsun.locale.formatasdefault=";

}  // namespace

bool dashJArgumentsAreJvmOptions() { return configInt(config::kDashJArgumentsAreJvmOptions) != 0; }

bool isJvmArgument(std::u16string_view argument, bool dashJIsJvm) {
    return dashJIsJvm && argument.starts_with(kJvmArgumentPrefix);
}

std::vector<std::u16string> applicationArguments(const std::vector<std::u16string>& launcherArguments,
                                                 bool dashJIsJvm) {
    std::vector<std::u16string> arguments;
    for (size_t i = 1; i < launcherArguments.size(); ++i) {
        const std::u16string_view argument = launcherArguments[i];
        if (isJvmArgument(argument, dashJIsJvm) || argument.starts_with(kFormatAsDefaultPrefix)) continue;
        arguments.emplace_back(argument);
    }
    return arguments;
}

void addJvmArguments(const std::vector<std::u16string>& launcherArguments, bool dashJIsJvm, VmOptionList& options,
                     ClassPathDirectives& directives, const VmOptionsEnvironment& environment,
                     const TextConverters& converters) {
    for (const std::u16string& argument : launcherArguments) {
        if (!isJvmArgument(argument, dashJIsJvm)) continue;
        const std::string text = converters.toNarrow(std::u16string_view(argument).substr(kJvmArgumentPrefix.size()));
        handleVmOption(nullptr, text, options, directives, environment);
    }
}
