#include "support/RuntimePlacement.h"

#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// reg.exe runs like any program of the prefix; its built-in copy needs no path.
LauncherRun runReg(WineScenario& scenario, const std::vector<std::string>& arguments) {
    return scenario.run("reg", arguments, {}, 60);
}

}  // namespace

PlacedRuntime::PlacedRuntime(WineScenario& scenario, RuntimePlacement where, const fs::path& programDirectory,
                             RuntimeShape::Kind kind, int bits, const std::string& versionBanner,
                             PlacementNames names)
    : scenario_(scenario), where_(where), bits_(bits), names_(std::move(names)) {
    // A blank in the path, as in "Program Files".
    const fs::path home =
        where == RuntimePlacement::BundledJre ? programDirectory / "jre" : scenario.directory() / names_.homeFolder;
    home_ = makeRuntimeHome(home, kind, bits, versionBanner);

    if (where == RuntimePlacement::NamedByVariable) environment_[names_.variable] = WineScenario::windowsPath(home_);
    if (inRegistry()) {
        const std::string value = where == RuntimePlacement::RegistryValue ? names_.registryValue : "JavaHome";
        const LauncherRun added =
            runReg(scenario_, {"add", registryKey(), "/v", value, "/t", "REG_SZ", "/d",
                               WineScenario::windowsPath(home_) + names_.valueSuffix, "/f", registryView()});
        if (added.exitCode != 0) throw std::runtime_error("reg add " + registryKey() + ": " + added.standardError);
    }
}

PlacedRuntime::~PlacedRuntime() {
    if (!inRegistry()) return;
    const LauncherRun deleted = runReg(scenario_, {"delete", registryKey(), "/f", registryView()});
    // A key left behind would mislead every later scenario of the prefix.
    if (deleted.exitCode != 0) ADD_FAILURE() << "reg delete " << registryKey() << ": " << deleted.standardError;
}

bool PlacedRuntime::inRegistry() const {
    return where_ == RuntimePlacement::JavaSoftRegistry || where_ == RuntimePlacement::RegistryValue;
}

std::string PlacedRuntime::registryKey() const {
    if (where_ == RuntimePlacement::RegistryValue) return names_.registryKey;
    return "HKLM\\SOFTWARE\\JavaSoft\\" + names_.javaSoftProduct + "\\" + names_.javaSoftVersion;
}

std::string PlacedRuntime::registryView() const { return bits_ == 32 ? "/reg:32" : "/reg:64"; }
