#pragma once

#include "support/RuntimeLayout.h"

#include <filesystem>
#include <map>
#include <string>

class WineScenario;
struct LauncherRun;

// Registry edits with the prefix's reg.exe in the registry view of a bitness
// (a 32-bit program reads the 32-bit view). `key` as reg.exe names it
// ("HKLM\\SOFTWARE\\..."); the result is reg.exe's run.
std::string registryViewSwitch(int bits);  // "/reg:32" or "/reg:64"
LauncherRun addRegistryValue(WineScenario& scenario, const std::string& key, const std::string& value,
                             const std::string& type, const std::string& data, int bits);
LauncherRun deleteRegistryKey(WineScenario& scenario, const std::string& key, int bits);

// Where a scenario puts a runtime home for the program it runs to find.
enum class RuntimePlacement {
    BundledJre,        // the folder "jre" beside the program
    NamedByVariable,   // a folder of the scenario that an environment variable of the run names
    JavaSoftRegistry,  // a folder of the scenario that "JavaHome" of a JavaSoft version key names
    RegistryValue,     // a folder of the scenario that a value of any key names (registryKey, registryValue)
};

// The names a placement uses. The JavaSoft key is
// HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft\<javaSoftProduct>\<javaSoftVersion>.
struct PlacementNames {
    std::string variable = "ZELKOR_JAVA_HOME";
    std::string javaSoftProduct = "Java Runtime Environment";  // or "Java Development Kit"
    std::string javaSoftVersion = "1.8";
    // The home's folder in the scenario directory (not for BundledJre).
    std::string homeFolder = "placed java home";
    // RegistryValue: the key as reg.exe names it ("HKCU\\SOFTWARE\\..."), the
    // value, and what the value holds after the home's path (e.g. "\\").
    std::string registryKey;
    std::string registryValue;
    std::string valueSuffix;
};

// A runtime home of any kind (stand-in or real) placed for one scenario. The
// registry key is written, with the prefix's reg.exe, into the registry view
// of the runtime's bitness (a 32-bit launcher reads the 32-bit view) and
// deleted again when the placement ends, so the scenario must outlive it; the
// key is shared by the whole prefix, so scenarios that run at the same time
// need versions of their own. Throws std::runtime_error when a step fails.
class PlacedRuntime {
public:
    PlacedRuntime(WineScenario& scenario, RuntimePlacement where, const std::filesystem::path& programDirectory,
                  RuntimeShape::Kind kind, int bits, const std::string& versionBanner = {},
                  PlacementNames names = {});
    ~PlacedRuntime();
    PlacedRuntime(const PlacedRuntime&) = delete;
    PlacedRuntime& operator=(const PlacedRuntime&) = delete;

    const std::filesystem::path& home() const { return home_; }
    // The variables the run needs: NamedByVariable sets its variable to the
    // home's Windows path, the other placements need none.
    const std::map<std::string, std::string>& environment() const { return environment_; }
    // The key that names the home, as reg.exe writes it.
    std::string registryKey() const;
    int bits() const { return bits_; }

private:
    bool inRegistry() const;

    WineScenario& scenario_;
    RuntimePlacement where_;
    int bits_;
    PlacementNames names_;
    std::filesystem::path home_;
    std::map<std::string, std::string> environment_;
};
