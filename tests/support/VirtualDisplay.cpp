#include "support/VirtualDisplay.h"

#include "support/HostCommand.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

}  // namespace

VirtualDisplay::VirtualDisplay() {
    // A display number of this process's own, so that parallel test programs
    // never share a server.
    const int number = 100 + static_cast<int>(::getpid() % 800);
    const std::string display = std::string(1, ':').append(std::to_string(number));
    server_ = ::fork();
    if (server_ == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execlp("Xvfb", "Xvfb", display.c_str(), "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (server_ < 0) return;
    const std::filesystem::path socket = "/tmp/.X11-unix/X" + std::to_string(number);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (std::filesystem::exists(socket)) {
            name_ = display;
            return;
        }
        if (::waitpid(server_, nullptr, WNOHANG) == server_) {
            server_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

VirtualDisplay::~VirtualDisplay() {
    if (server_ <= 0) return;
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
}

bool VirtualDisplay::waitForWindowTitled(const std::string& title, int seconds) const {
    if (name_.empty()) return false;
    // xwininfo lists each window as: 0x... "title": ("class" ...)
    std::string quoted(1, '"');
    quoted.append(title).append("\":");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (hostCommandOutput(std::string("DISPLAY=").append(name_).append(" xwininfo -root -tree 2>/dev/null"))
                .find(quoted) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
}
