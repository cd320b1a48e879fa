#include "jvm/JvmLibrary.h"

#include "jvm/JavaCandidate.h"
#include "jvm/JvmPaths.h"
#include "jvm/SearchSummary.h"
#include "jvm/win/JvmLibraryLoading.h"
#include "jvm/win/JvmSearch.h"
#include "log/Log.h"

namespace {

// The search ended without a runtime: the log gets every candidate as one
// table, and the binding carries them on for the message.
void summariseCandidates(JvmBinding& binding) {
    binding.candidates = candidateDiary();
    if (!logWanted()) return;
    binding.candidates.lookUpMissingLibraries(jvmLibraryBitnessOf);
    for (const std::string& line : searchSummaryLines(binding.candidates, kOwnBitness)) logMessage("%s", line.c_str());
}

}  // namespace

JvmBinding LoadDLL() {
    // The middle field has always been an unset text; it is printed as the
    // runtime prints a null text rather than handed over as one.
    logMessage("LoadDLL (%d, %s, %d)", 1, "(null)", 0);
    JvmBinding binding;
    BoundRuntime& runtime = binding.runtime;
    runtime.found = findJavaRuntime();
    if (runtime.found.type == LOCATION_NONE) {
        logError("No JVM found");
        summariseCandidates(binding);
        return binding;
    }
    logMessage("Trying to load JVM-DLL from %s", runtime.found.path.c_str());
    const HMODULE library = loadJvmLibrary(runtime.found.path);
    // The home is known whether or not its library loaded.
    runtime.home = jvmHomeOf(runtime.found.path);
    if (library == nullptr) logError("Could not get DLL-Handle.");
    runtime.createJavaVm = createJavaVmEntryOf(library);
    if (runtime.createJavaVm == nullptr) {
        logError("Could not load functions");
        recordUnloadedRuntime(runtime.found.path);
        summariseCandidates(binding);
        return binding;
    }
    logMessage("Loading of JVM-DLL successful");
    return binding;
}
