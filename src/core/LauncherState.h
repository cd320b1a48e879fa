#pragma once

#include <string>
#include <vector>

// Process-wide facts that the start-up sequence fixes and the rest reads. Each
// has one accessor and one setter; resetLauncherState() brings all of them
// back to their start values for tests that run several sequences in one
// process.

// The command line words (UTF-16). In the GUI launcher element 0 is the
// program word; the service launcher removes it.
const std::vector<std::u16string>& launcherArguments();
void setLauncherArguments(std::vector<std::u16string> arguments);

// The GUI launcher was started again after a change of language.
bool languageRestart();
void setLanguageRestart(bool restart);

// The running program is the service launcher (its process or its child).
bool serviceLauncher();
void setServiceLauncher(bool service);

// The service the service launcher stands for: key 101, or the name given on
// its command line, or inside the service process the name the service
// control manager passes. Empty in the GUI launcher.
const std::string& serviceName();
void setServiceName(std::string name);

// First character of the flavour key: selects the zelkor or the brantel flavour.
inline constexpr char kZelkorFlavor = 'z';
inline constexpr char kBrantelFlavor = 'b';
char launcherFlavor();
void setLauncherFlavor(char flavor);

// "zelkor" for the zelkor flavour, otherwise "brantel"; the caption of the log prompt.
const char* productWord();

// The launcher's temporary directory, without a trailing backslash: empty
// while none exists.
const std::string& tempDir();
void setTempDir(std::string directory);

// The chosen Java runtime's home: the directory of its java executable with
// a trailing backslash, followed by "..". Empty until a JVM is bound.
const std::string& jvmHome();
void setJvmHome(std::string home);

// Errors go to standard error instead of message boxes: the quiet switches,
// and every launcher kind without dialogs.
bool quiet();
void setQuiet();

// The selected locale's language and country codes (two letters each), empty
// while none is set; see splitLocale in Locale.h.
const std::string& localeLanguageCode();
const std::string& localeCountryCode();
void setLocaleCodes(std::string language, std::string country);

void resetLauncherState();
