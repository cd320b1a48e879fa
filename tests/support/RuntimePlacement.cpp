#include "support/RuntimePlacement.h"

#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace fs = std::filesystem;

std::string registryViewSwitch(int bits) { return bits == 32 ? "/reg:32" : "/reg:64"; }

// reg.exe runs like any program of the prefix; its built-in copy needs no path.
LauncherRun addRegistryValue(WineScenario& scenario, const std::string& key, const std::string& value,
                             const std::string& type, const std::string& data, int bits) {
    return scenario.run("reg", {"add", key, "/v", value, "/t", type, "/d", data, "/f", registryViewSwitch(bits)}, {}, 60);
}

LauncherRun deleteRegistryKey(WineScenario& scenario, const std::string& key, int bits) {
    return scenario.run("reg", {"delete", key, "/f", registryViewSwitch(bits)}, {}, 60);
}

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
        const LauncherRun added = addRegistryValue(scenario_, registryKey(), value, "REG_SZ",
                                                   WineScenario::windowsPath(home_) + names_.valueSuffix, bits_);
        if (added.exitCode != 0) throw std::runtime_error("reg add " + registryKey() + ": " + added.standardError);
    }
}

PlacedRuntime::~PlacedRuntime() {
    if (!inRegistry()) return;
    const LauncherRun deleted = deleteRegistryKey(scenario_, registryKey(), bits_);
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

