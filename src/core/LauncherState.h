#pragma once

#include <string>
#include <vector>

// Process-wide facts that the start-up sequence fixes and the rest reads.

// The command line words (UTF-16). In the GUI launcher element 0 is the
// program word; the service launcher removes it.
extern std::vector<std::u16string> launcherArguments;

// The GUI launcher was started again after a change of language.
extern bool languageRestart;

// First character of the flavour key: selects the zelkor or the brantel flavour.
extern char launcherFlavor;
inline constexpr char kZelkorFlavor = 'z';
inline constexpr char kBrantelFlavor = 'b';

// "zelkor" or "brantel", after the flavour; the caption of the log prompt.
extern const char* productWord;
