#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The forms of the values that the launcher reads and the generator writes:
// the launcher kinds (key 107) and the entry letters of the class path
// (key 121) and of the Java search sequence (key 128). The launcher switches
// on the constants; the generator and its listing go through the tables, which
// also give each letter the name a launcher description uses for it.
namespace config {

// Key 107. Every kind but the two with dialogs reports errors on standard error.
inline constexpr int kLauncherKindQuiet = 0;  // the service launcher with it installs for demand start
inline constexpr int kLauncherKindGui = 1;
inline constexpr int kLauncherKindService = 4;  // the service launcher with it installs for automatic start
inline constexpr int kLauncherKindOtherWithDialogs = 5;

constexpr bool launcherKindShowsDialogs(int kind) {
    return kind == kLauncherKindGui || kind == kLauncherKindOtherWithDialogs;
}

// Entries of keys 121 and 128 each end with this separator.
inline constexpr char kEntrySeparator = ';';

// What follows an entry's letter.
enum class EntryArgument : uint8_t { None, Path, Variable };

// The field of a launcher description that carries the argument.
constexpr std::string_view entryArgumentName(EntryArgument argument) {
    return argument == EntryArgument::Variable ? "variable" : argument == EntryArgument::Path ? "path" : "";
}

struct EntryForm {
    char letter;
    std::string_view name;  // the entry's kind in a launcher description
    EntryArgument argument;
};

// Key 121: the letter, the required flag, the argument ("A1lib\app.jar;").
inline constexpr char kClassPathScan = 'S';  // a directory whose *.jar, then *.zip files are added
inline constexpr char kClassPathArchive = 'A';
inline constexpr char kClassPathDirectory = 'D';
inline constexpr char kClassPathVariable = 'E';  // an environment variable holding a class path
inline constexpr char kClassPathOptional = '0';
inline constexpr char kClassPathRequired = '1';

inline constexpr EntryForm kClassPathForms[] = {
    {kClassPathScan, "scan", EntryArgument::Path},
    {kClassPathArchive, "archive", EntryArgument::Path},
    {kClassPathDirectory, "directory", EntryArgument::Path},
    {kClassPathVariable, "variable", EntryArgument::Variable},
};

// Key 128: the letter and the argument ("EJAVA_HOME;").
inline constexpr char kSearchBundled = 'R';  // a runtime shipped beside the application
inline constexpr char kSearchDirectory = 'A';
// A directory that takes part in the fallback pass even when it is absolute;
// a description writes it as a directory with fallbackAlways.
inline constexpr char kSearchDirectoryAlwaysFallback = 'B';
inline constexpr char kSearchEnvironment = 'E';
inline constexpr char kSearchPath = 'S';  // java.exe on the executable search path
// The JavaSoft keys and the runtimes located earlier. A description's
// "registry" writes it together with the vendors' keys ("Y;V;").
inline constexpr char kSearchRegistry = 'Y';
// The keys that today's runtime packages write (jvm/VendorRegistrations.h).
// Launchers that do not know the letter skip the entry.
inline constexpr char kSearchVendorRegistry = 'V';

inline constexpr EntryForm kSearchForms[] = {
    {kSearchBundled, "bundled", EntryArgument::Path},
    {kSearchDirectory, "directory", EntryArgument::Path},
    {kSearchEnvironment, "environment", EntryArgument::Variable},
    {kSearchPath, "path", EntryArgument::None},
    {kSearchRegistry, "registry", EntryArgument::None},
    {kSearchVendorRegistry, "vendorRegistry", EntryArgument::None},
};

constexpr bool isSearchDirectory(char letter) {
    return letter == kSearchDirectory || letter == kSearchDirectoryAlwaysFallback || letter == kSearchBundled;
}

// nullptr when no form of `forms` has that letter or name.
constexpr const EntryForm* findEntryForm(std::span<const EntryForm> forms, char letter) {
    for (const EntryForm& form : forms)
        if (form.letter == letter) return &form;
    return nullptr;
}
constexpr const EntryForm* findEntryForm(std::span<const EntryForm> forms, std::string_view name) {
    for (const EntryForm& form : forms)
        if (form.name == name) return &form;
    return nullptr;
}

}  // namespace config
