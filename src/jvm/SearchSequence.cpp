#include "jvm/SearchSequence.h"

#include "core/PathText.h"
#include "core/PayloadValues.h"
#include "log/Log.h"

namespace {

bool isAbsoluteArgument(std::string_view argument) {
    return argument.size() > 1 && (argument[1] == ':' || argument.starts_with("\\\\"));
}

void enterStep(const SearchSources& sources, LocationType type, std::string_view kind, const std::string& argument) {
    if (sources.enterStep) sources.enterStep(SearchStep{type, std::string(kind), argument});
}

// An entry's step is named by its form in a launcher description, where "B"
// is a directory too.
void enterEntryStep(const SearchSources& sources, LocationType type, const SearchEntry& entry,
                    const std::string& argument) {
    const char letter =
        entry.letter == config::kSearchDirectoryAlwaysFallback ? config::kSearchDirectory : entry.letter;
    const config::EntryForm* form = config::findEntryForm(config::kSearchForms, letter);
    enterStep(sources, type, form != nullptr ? form->name : std::string_view(), argument);
}

enum class LocationFile { Preferred, Installer };

// The directory named by a location file, with the version check.
bool tryLocationFile(const SearchSources& sources, LocationFile file, SearchResult& result) {
    const bool preferred = file == LocationFile::Preferred;
    const std::optional<std::string> line =
        sources.readLocationFile(preferred ? kPreferredLocationFile : kInstallerLocationFile);
    if (!line) return false;
    if (preferred) {
        logMessage("Has preferred location %s", line->c_str());
    } else {
        logMessage("Has installer location %s", line->c_str());
    }
    enterStep(sources, LOCATION_DIRECTORY, preferred ? "preferred location" : "installer location", *line);
    if (!sources.checkHomeDirectory(*line, false, result.path)) return false;
    logMessage(preferred ? "Using preferred location" : "Using installer location");
    result.type = LOCATION_DIRECTORY;
    result.location = *line;
    return true;
}

bool tryEntry(const SearchSources& sources, const SearchEntry& entry, SearchResult& result) {
    std::string argument = entry.argument;
    sources.expand(argument);
    logMessage("Testing location %s (type %c)", argument.c_str(), entry.letter);
    switch (entry.letter) {
        case config::kSearchDirectory:
        case config::kSearchDirectoryAlwaysFallback:
        case config::kSearchBundled:
            enterEntryStep(sources, LOCATION_DIRECTORY, entry, argument);
            if (!sources.checkHomeDirectory(argument, false, result.path)) return false;
            result.type = LOCATION_DIRECTORY;
            result.location = argument;
            return true;
        case config::kSearchEnvironment:
            enterEntryStep(sources, LOCATION_ENVIRONMENT, entry, argument);
            if (!sources.checkEnvironmentHome(argument, result.path)) return false;
            result.type = LOCATION_ENVIRONMENT;
            result.location = argument;
            return true;
        case config::kSearchPath:
            enterEntryStep(sources, LOCATION_PATH, entry, argument);
            if (!sources.checkPathJavaExe(result.path)) return false;
            result.type = LOCATION_PATH;
            result.location = argument;
            return true;
        case config::kSearchRegistry:
            enterEntryStep(sources, LOCATION_REGISTRY, entry, argument);
            if (!sources.findRegistryJVM(result.path)) return false;
            result.type = LOCATION_REGISTRY;
            return true;
        case config::kSearchVendorRegistry:
            if (!sources.findVendorRegistryJVM(result.path)) return false;
            result.type = LOCATION_REGISTRY;
            return true;
        default:
            return false;
    }
}

// The runtime of a directory entry is taken without any check but that its
// java.exe is there.
bool tryFallback(const SearchSources& sources, const SearchEntry& entry, SearchResult& result) {
    logMessage("Testing relative location %s", entry.argument.c_str());
    enterStep(sources, LOCATION_DIRECTORY, "fallback pass", entry.argument);
    sources.checkHomeDirectory(entry.argument, true, result.path);
    if (!sources.exists(result.path)) return false;
    logMessage("%s exists", result.path.c_str());
    result.type = LOCATION_DIRECTORY;
    result.location = entry.argument;
    return true;
}

}  // namespace

std::vector<SearchEntry> splitSearchSequence(std::string_view sequence) {
    std::vector<SearchEntry> entries;
    for (const std::string& text : splitPathList(sequence)) entries.push_back({text[0], text.substr(1)});
    return entries;
}

bool takesPartInFallbackPass(const SearchEntry& entry) {
    if (entry.letter == config::kSearchDirectoryAlwaysFallback) return true;
    return config::isSearchDirectory(entry.letter) && !isAbsoluteArgument(entry.argument);
}

SearchResult searchJVM(std::string_view sequence, const SearchSources& sources) {
    logMessage("Searching for a JVM");
    SearchResult result;
    if (tryLocationFile(sources, LocationFile::Preferred, result)) return result;

    // Kept apart from the sequence text: the sources below may read other
    // configuration values and expand other texts.
    const std::vector<SearchEntry> entries = splitSearchSequence(sequence);
    for (const SearchEntry& entry : entries)
        if (tryEntry(sources, entry, result)) return result;

    if (tryLocationFile(sources, LocationFile::Installer, result)) return result;

    for (const SearchEntry& entry : entries)
        if (takesPartInFallbackPass(entry) && tryFallback(sources, entry, result)) return result;

    enterStep(sources, LOCATION_REGISTRY, "previous installations", "user");
    if (sources.findPreviousInstallationJVM(RegistryHive::CurrentUser, result.path)) {
        logMessage("found JRE from previous installation (user) %s", result.path.c_str());
        result.type = LOCATION_REGISTRY;
        return result;
    }
    enterStep(sources, LOCATION_REGISTRY, "previous installations", "machine");
    if (sources.findPreviousInstallationJVM(RegistryHive::LocalMachine, result.path)) {
        logMessage("found JRE from previous installation (machine) %s", result.path.c_str());
        result.type = LOCATION_REGISTRY;
        return result;
    }

    logMessage("Search sequence finished");
    for (const char* variable : {"ZELKOR_JAVA_HOME", "BRANTEL_JAVA_HOME"}) {
        enterStep(sources, LOCATION_ENVIRONMENT, "environment", variable);
        if (!sources.checkEnvironmentHome(variable, result.path)) continue;
        result.type = LOCATION_ENVIRONMENT;
        result.location = variable;
        return result;
    }
    result = SearchResult{};
    return result;
}
