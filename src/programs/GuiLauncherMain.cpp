// Entry point of the GUI launcher (GUI subsystem).
#include "core/WinApi.h"

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::fputs("guilauncher: the start-up sequence is not built yet; nothing was launched\n", stderr);
    return 1;
}
