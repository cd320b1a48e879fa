#pragma once

#include <string>
#include <sys/types.h>

// An X server of our own (Xvfb) for scenarios that need real windows: a
// message box then really opens, and its caption can be read from the
// window list. Stopped when the object goes.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // ":N" once the server accepts connections; empty when it could not start.
    const std::string& name() const { return name_; }

    // Waits up to `seconds` for a top-level window titled exactly `title`.
    bool waitForWindowTitled(const std::string& title, int seconds) const;

private:
    std::string name_;
    pid_t server_ = -1;
};
