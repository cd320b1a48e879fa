// Entry point of the service launcher (console subsystem).
#include "core/WinApi.h"

#include <cstdio>

int main() {
    std::fputs("svclauncher: the start-up sequence is not built yet; nothing was launched\n", stderr);
    return 1;
}
