// A warm runtime search: ten candidates whose versions are all in the
// version cache (nine too old, the last one accepted), searched through the
// launcher's own sources, against a baseline that does only what no search
// can avoid for them: one file lookup and two registry reads each. Then the
// same search with the package-key source ("V") first, as the default
// sequence has it, on a machine where no package registered anything: no
// search with that source can avoid asking for each package's key in both
// hives, so its baseline does that too. Then the same ten registered as a
// runtime package registers them (the "V" source alone, which walks every
// package's keys), against that baseline plus the reading of each home from
// its key. Prints both times per search and their ratio, and where the
// baseline counts the package keys, also the ratio against the one without.
// Not a test: it asserts nothing.
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/WinApi.h"
#include "core/win/Handles.h"
#include "files/PathUtilities.h"
#include "jvm/CandidateCheck.h"
#include "jvm/VendorRegistrations.h"
#include "jvm/win/JvmSearch.h"
#include "jvm/win/VersionCache.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCandidates = 10;
constexpr int kSearchesPerRound = 100;
constexpr int kRounds = 20;

double now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

FileTimeStamp lastWriteTime(const std::string& path) {
    FILETIME time{};
    findPath(path, &time);
    return static_cast<FileTimeStamp>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// A candidate's java.exe as the disk spells it (as installers and users
// write it) and the version cache's key for it (the lower-cased identity).
struct Candidate {
    std::string javaExe;
    std::string cacheKey;
    std::string home() const { return javaExe.substr(0, javaExe.size() - 13); }
};

// Ten homes with a java.exe and a jvm.dll each, cached as the launcher would have cached them.
std::vector<Candidate> makeCandidates(const std::string& root) {
    std::vector<Candidate> candidates;
    ::CreateDirectoryA(root.c_str(), nullptr);
    for (int i = 0; i < kCandidates; ++i) {
        const std::string home = root + "\\home" + std::to_string(i);
        ::CreateDirectoryA(home.c_str(), nullptr);
        ::CreateDirectoryA((home + "\\bin").c_str(), nullptr);
        const std::string javaExe = fullPath(home + "\\bin\\java.exe", true);
        FileHandle file(::CreateFileA(javaExe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        file.reset();
        // The check reads the machine of the runtime's jvm.dll: this program has the right one.
        char self[MAX_PATH];
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        ::CreateDirectoryA((home + "\\bin\\server").c_str(), nullptr);
        ::CopyFileA(self, (home + "\\bin\\server\\jvm.dll").c_str(), FALSE);
        const std::string identity = fullPath(javaExe, false);
        writeCachedVersion(identity, lastWriteTime(javaExe), i + 1 < kCandidates ? "1.5.0_22" : "1.8.0_121");
        candidates.push_back({javaExe, versionCacheKeyName(identity)});
    }
    return candidates;
}

void removeCandidates(const std::string& root, const std::vector<Candidate>& candidates) {
    for (const Candidate& candidate : candidates) {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, candidate.cacheKey.c_str());
        ::DeleteFileA(candidate.javaExe.c_str());
        const std::string bin = candidate.javaExe.substr(0, candidate.javaExe.rfind('\\'));
        ::DeleteFileA((bin + "\\server\\jvm.dll").c_str());
        ::RemoveDirectoryA((bin + "\\server").c_str());
        ::RemoveDirectoryA(bin.c_str());
        ::RemoveDirectoryA(bin.substr(0, bin.rfind('\\')).c_str());
    }
    ::RemoveDirectoryA(root.c_str());
}

// The candidates' homes as a package's installer registers them, per user.
std::string packageKey(int i) {
    return "SOFTWARE\\Eclipse Adoptium\\JDK\\1." + std::to_string(i) + ".0\\hotspot\\MSI";
}

void registerCandidates(const std::vector<Candidate>& candidates) {
    for (size_t i = 0; i < candidates.size(); ++i) {
        RegistryKey key;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, packageKey(static_cast<int>(i)).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, key.put(), nullptr);
        const std::string home = candidates[i].home() + "\\";
        ::RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                         static_cast<DWORD>(home.size() + 1));
    }
}

void unregisterCandidates(size_t count) {
    for (size_t i = 0; i < count; ++i) {
        std::string key = packageKey(static_cast<int>(i));
        for (int level = 0; level < 3; ++level) {  // MSI, hotspot, the version
            ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
            key = key.substr(0, key.rfind('\\'));
        }
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Eclipse Adoptium\\JDK");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Eclipse Adoptium");
}

// What a baseline does besides the lookup and the cache read of each candidate.
struct BaselineWork {
    bool packageKeys = false;    // ask for every package's key in both hives
    bool homesFromKeys = false;  // read each candidate's home from its package key
};

// The least a search with the package-key source does when a package did not
// register anything: one failed open per package in each hive, of its first
// two segments (each alternative of the first).
void openPackageKeys() {
    for (const VendorRegistration& registration : kVendorRegistrations) {
        const auto segments = keyPatternSegments(registration.keyPattern);
        for (const std::string_view first : segments[0]) {
            std::string path = "SOFTWARE\\" + std::string(first);
            if (segments.size() > 1 && segments[1][0] != "*") path.append("\\").append(segments[1][0]);
            for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
                RegistryKey key;
                ::RegOpenKeyExA(hive, path.c_str(), 0, KEY_READ, key.put());
            }
        }
    }
}

// The unavoidable part: is the file there, and what does the cache say; and
// what `work` adds.
bool baselineSearch(const std::vector<Candidate>& candidates, BaselineWork work = {}) {
    if (work.packageKeys) openPackageKeys();
    bool found = false;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& candidate = candidates[i];
        if (work.homesFromKeys) {
            RegistryKey package;
            char home[MAX_PATH];
            DWORD homeSize = sizeof home;
            if (::RegOpenKeyExA(HKEY_CURRENT_USER, packageKey(static_cast<int>(i)).c_str(), 0, KEY_READ,
                                package.put()) != ERROR_SUCCESS ||
                ::RegQueryValueExA(package.get(), "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(home),
                                   &homeSize) != ERROR_SUCCESS)
                continue;
        }
        WIN32_FIND_DATAA entry;
        FindHandle lookup(::FindFirstFileA(candidate.javaExe.c_str(), &entry));
        RegistryKey key;
        if (!lookup ||
            ::RegOpenKeyExA(HKEY_CURRENT_USER, candidate.cacheKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
            continue;
        BYTE time[8];
        DWORD timeSize = sizeof time;
        char version[100];
        DWORD versionSize = sizeof version;
        found = ::RegQueryValueExA(key.get(), "LastWriteTime", nullptr, nullptr, time, &timeSize) == ERROR_SUCCESS &&
                ::RegQueryValueExA(key.get(), "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(version),
                                   &versionSize) == ERROR_SUCCESS;
    }
    return found;
}

// Alternates the search and its baseline (and, where that counts the package
// keys, the baseline without them) so that all see the same machine; keeps
// the best round of each.
void measure(const char* what, const std::vector<Candidate>& candidates, BaselineWork work) {
    BaselineWork withoutPackageKeys = work;
    withoutPackageKeys.packageKeys = false;
    double bestSearch = 1e9, bestBaseline = 1e9, bestWithout = 1e9;
    const auto best = [](double& kept, double start) {
        kept = std::min(kept, (now() - start) / kSearchesPerRound);
    };
    for (int round = 0; round < kRounds; ++round) {
        double start = now();
        for (int i = 0; i < kSearchesPerRound; ++i) findJavaRuntime();
        best(bestSearch, start);
        start = now();
        for (int i = 0; i < kSearchesPerRound; ++i) baselineSearch(candidates, work);
        best(bestBaseline, start);
        if (!work.packageKeys) continue;
        start = now();
        for (int i = 0; i < kSearchesPerRound; ++i) baselineSearch(candidates, withoutPackageKeys);
        best(bestWithout, start);
    }
    std::printf("warm search over %d cached candidates, %s: %.1f us\n", kCandidates, what, bestSearch * 1e6);
    std::printf("  baseline (%s%sone lookup, two registry reads each): %.1f us\n",
                work.packageKeys ? "every package's key, " : "", work.homesFromKeys ? "the home from its key, " : "",
                bestBaseline * 1e6);
    std::printf("  ratio search / baseline: %.2f\n", bestSearch / bestBaseline);
    if (work.packageKeys)
        std::printf("  ratio search / baseline without the package keys: %.2f\n", bestSearch / bestWithout);
}

// Whether the configured search ends where the measurement expects it to:
// at the last candidate, found by `type`.
bool searchTakes(LocationType type, const std::string& taken, const char* what) {
    const SearchResult result = findJavaRuntime();
    if (result.type == type && result.path == taken) return true;
    std::fprintf(stderr, "the search of the %s did not take the last candidate (type %d, %s)\n", what,
                 static_cast<int>(result.type), result.path.c_str());
    return false;
}

}  // namespace

int main() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    const std::string root = std::string(base) + "search_bench_" + std::to_string(::GetCurrentProcessId());
    const std::vector<Candidate> candidates = makeCandidates(root);
    // What the search hands back: the lower-cased identity.
    const std::string taken = fullPath(candidates.back().javaExe, false);

    std::string sequence;
    for (const Candidate& candidate : candidates) sequence.append("A").append(candidate.home()).append(";");
    storeNarrowValue(config::kJvmSearchSequence, sequence);
    storeNarrowValue(config::kMinVersion, "1.6");
    storeNarrowValue(config::kLauncherKind, "4");  // no javaw.exe check: the baseline has none either

    if (!searchTakes(LOCATION_DIRECTORY, taken, "directory entries") || !baselineSearch(candidates)) {
        removeCandidates(root, candidates);
        return 1;
    }
    measure("directory entries", candidates, {});

    // The package-key source where the default sequence puts it, before the
    // other sources, on a machine where no package registered a runtime.
    storeNarrowValue(config::kJvmSearchSequence, "V;" + sequence);
    const char* const afterPackages = "directory entries after \"V\" (no package registered)";
    if (searchTakes(LOCATION_DIRECTORY, taken, afterPackages))
        measure(afterPackages, candidates, {.packageKeys = true});

    registerCandidates(candidates);
    storeNarrowValue(config::kJvmSearchSequence, "V;");
    const char* const packages = "package keys (\"V\")";
    if (searchTakes(LOCATION_REGISTRY, taken, packages))
        measure(packages, candidates, {.packageKeys = true, .homesFromKeys = true});
    unregisterCandidates(candidates.size());
    removeCandidates(root, candidates);
    return 0;
}
