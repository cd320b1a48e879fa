// Plays the running first instance of a launcher for the single-instance
// scenarios, until its standard input ends: holds the instance semaphore of
// the launcher named by the first argument (a Windows path; "Local\" names),
// stores its own process id as that launcher's instance, and prints the path
// of its communication file, where second instances hand over their arguments.
#include "core/win/Handles.h"
#include "files/InstanceNames.h"
#include "files/PathUtilities.h"
#include "files/InstancePid.h"
#include "files/TempDirectory.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: instance_holder <launcher path>\n", stderr);
        return 2;
    }
    const std::string launcher = fullPath(argv[1], false);
    const KernelHandle semaphore(::CreateSemaphoreA(nullptr, 1, 1, instanceSemaphoreBase(false, launcher).c_str()));
    if (!semaphore || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        std::fputs("instance semaphore already taken\n", stderr);
        return 1;
    }
    storeInstancePid(launcher, ::GetCurrentProcessId());
    std::printf("%s\n", makeCommFileName(::GetCurrentProcessId()).c_str());
    std::fflush(stdout);
    char c;
    while (std::fread(&c, 1, 1, stdin) == 1) {
    }
    return 0;
}
