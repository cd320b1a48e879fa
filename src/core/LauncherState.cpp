#include "core/LauncherState.h"

std::vector<std::u16string> launcherArguments;
bool languageRestart = false;
char launcherFlavor = '\0';
const char* productWord = "brantel";
