// A warm runtime search: ten candidates whose versions are all in the
// version cache (nine too old, the last one accepted), searched through the
// launcher's own sources, against a baseline that does only what no search
// can avoid for them: one file lookup and two registry reads each. Prints
// both times per search and their ratio. Not a test: it asserts nothing.
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/WinApi.h"
#include "core/win/Handles.h"
#include "files/PathUtilities.h"
#include "jvm/CandidateCheck.h"
#include "jvm/win/JvmSearch.h"
#include "jvm/win/VersionCache.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCandidates = 10;
constexpr int kSearchesPerRound = 200;
constexpr int kRounds = 5;

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

// Ten homes with a java.exe each, cached as the launcher would have cached them.
std::vector<std::string> makeCandidates(const std::string& root) {
    std::vector<std::string> javaExes;
    ::CreateDirectoryA(root.c_str(), nullptr);
    for (int i = 0; i < kCandidates; ++i) {
        const std::string home = root + "\\home" + std::to_string(i);
        ::CreateDirectoryA(home.c_str(), nullptr);
        ::CreateDirectoryA((home + "\\bin").c_str(), nullptr);
        const std::string javaExe = fullPath(home + "\\bin\\java.exe", false);
        FileHandle file(::CreateFileA(javaExe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        file.reset();
        writeCachedVersion(javaExe, lastWriteTime(javaExe), i + 1 < kCandidates ? "1.5.0_22" : "1.8.0_121");
        javaExes.push_back(javaExe);
    }
    return javaExes;
}

void removeCandidates(const std::string& root, const std::vector<std::string>& javaExes) {
    for (const std::string& javaExe : javaExes) {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, versionCacheKeyName(javaExe).c_str());
        ::DeleteFileA(javaExe.c_str());
        const std::string bin = javaExe.substr(0, javaExe.rfind('\\'));
        ::RemoveDirectoryA(bin.c_str());
        ::RemoveDirectoryA(bin.substr(0, bin.rfind('\\')).c_str());
    }
    ::RemoveDirectoryA(root.c_str());
}

// The unavoidable part: is the file there, and what does the cache say.
bool baselineSearch(const std::vector<std::string>& javaExes) {
    bool found = false;
    for (const std::string& javaExe : javaExes) {
        WIN32_FIND_DATAA entry;
        FindHandle lookup(::FindFirstFileA(javaExe.c_str(), &entry));
        RegistryKey key;
        const std::string name = versionCacheKeyName(javaExe);
        if (!lookup || ::RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
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

}  // namespace

int main() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    const std::string root = std::string(base) + "search_bench_" + std::to_string(::GetCurrentProcessId());
    const std::vector<std::string> javaExes = makeCandidates(root);

    std::string sequence;
    for (const std::string& javaExe : javaExes) sequence += "A" + javaExe.substr(0, javaExe.size() - 13) + ";";
    storeNarrowValue(config::kJvmSearchSequence, sequence);
    storeNarrowValue(config::kMinVersion, "1.6");
    storeNarrowValue(config::kLauncherKind, "4");  // no javaw.exe check: the baseline has none either

    const SearchResult check = findJavaRuntime();
    if (check.type != LOCATION_DIRECTORY || check.path != javaExes.back() || !baselineSearch(javaExes)) {
        std::fprintf(stderr, "the warm search did not end at the last candidate (type %d, %s)\n",
                     static_cast<int>(check.type), check.path.c_str());
        removeCandidates(root, javaExes);
        return 1;
    }

    // Alternate the two so that both see the same machine; keep the best round of each.
    double bestSearch = 1e9, bestBaseline = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        double start = now();
        for (int i = 0; i < kSearchesPerRound; ++i) findJavaRuntime();
        bestSearch = std::min(bestSearch, (now() - start) / kSearchesPerRound);
        start = now();
        for (int i = 0; i < kSearchesPerRound; ++i) baselineSearch(javaExes);
        bestBaseline = std::min(bestBaseline, (now() - start) / kSearchesPerRound);
    }
    removeCandidates(root, javaExes);
    std::printf("warm search over %d cached candidates: %.1f us\n", kCandidates, bestSearch * 1e6);
    std::printf("baseline (one lookup, two registry reads each): %.1f us\n", bestBaseline * 1e6);
    std::printf("ratio search / baseline: %.2f\n", bestSearch / bestBaseline);
    return 0;
}
