#include "jvm/JvmLibrary.h"

#include "diag/ErrorReport.h"
#include "log/Log.h"
#include "jvm/JvmPaths.h"
#include "jvm/win/JvmLibraryLoading.h"
#include "jvm/win/JvmSearch.h"

namespace {

constexpr bool kSixtyFourBit = sizeof(void*) == 8;

void showFailure(const SearchResult& found) {
    const LoadFailureMessage message = loadFailureMessage(found.type, found.location, kSixtyFourBit);
    showConfiguredError(message.key, message.detail ? message.detail->c_str() : nullptr);
}

}  // namespace

bool LoadDLL(bool reportErrors) {
    // The middle field has always been an unset text; it is printed as the
    // runtime prints a null text rather than handed over as one.
    logMessage("LoadDLL (%d, %s, %d)", 1, "(null)", 0);
    const SearchResult found = findJavaRuntime();
    if (found.type == LOCATION_NONE) {
        logError("No JVM found");
        if (reportErrors) showFailure(found);
        return false;
    }
    logMessage("Trying to load JVM-DLL from %s", found.path.c_str());
    const HMODULE library = loadJvmLibrary(found.path);
    setJvmHomeFromJavaExe(found.path);
    if (library == nullptr) logError("Could not get DLL-Handle.");
    if (!bindCreateJavaVM(library)) {
        logError("Could not load functions");
        if (reportErrors) showFailure(found);
        return false;
    }
    logMessage("Loading of JVM-DLL successful");
    return true;
}
