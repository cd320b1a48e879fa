#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Where the runtime packages people install today register their Java home,
// in the order the search takes them (of equal versions the earlier row
// wins). Each row is one key pattern under HKEY_LOCAL_MACHINE\SOFTWARE and
// HKEY_CURRENT_USER\SOFTWARE: segments separated by "\", alternatives within
// a segment by "|", and "*" for every subkey (versions or names). These
// layouts come from the vendors' installer sources and from registry dumps
// users published; a correction is a change of one row.
struct VendorRegistration {
    std::string_view vendor;      // for the log
    std::string_view keyPattern;
    std::string_view valueName;   // a text value that holds the home
};

inline constexpr VendorRegistration kVendorRegistrations[] = {
    {"Oracle", "JavaSoft\\JDK|JRE\\*", "JavaHome"},
    // The same key has a number named JavaHome: a flag, not a path.
    {"Eclipse Adoptium", "Eclipse Adoptium|AdoptOpenJDK|Eclipse Foundation\\JDK|JRE\\*\\hotspot|openj9\\MSI", "Path"},
    {"Microsoft", "Microsoft\\JDK\\*\\hotspot\\MSI|EXE", "Path"},
    {"IBM Semeru", "Semeru\\JDK|JRE\\*\\openj9\\MSI", "Path"},
    {"Azul Zulu", "Azul Systems\\Zulu|Zulu 32-bit\\*", "InstallationPath"},
    {"BellSoft Liberica", "BellSoft\\Liberica\\*", "InstallationPath"},
    {"SapMachine", "SapMachine\\JDK|JRE\\*", "JavaHome"},
};

// A pattern's segments, each the list of its alternatives ("*" stays "*").
std::vector<std::vector<std::string_view>> keyPatternSegments(std::string_view pattern);

// A Java home as registry values and environment variables give it: without
// surrounding blanks and double quotes, and without trailing "\" or "/"
// (a drive's root keeps its backslash: "C:\"). "" for nothing left.
std::string normalizedJavaHome(std::string_view text);
