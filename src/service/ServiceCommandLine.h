#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The service launcher's command text: an optional prefix ("/" or "-", after
// which one more "-" is skipped), the command word, then optionally
// "non-interactive" and optionally a service name, separated by blanks.

enum class ServiceCommand : uint8_t {
    None,  // no prefix, or an unknown word: the launcher takes its run path
    Install,
    InstallAndStart,
    InstallAuto,
    InstallDemand,
    Uninstall,
    Stop,
    Start,
    Status,
    Restart,  // stop, then start once stopped
};

struct ServiceCommandLine {
    ServiceCommand command = ServiceCommand::None;
    bool interactive = true;
    // Everything after the blank that ends the words, blanks included; cut to
    // the service name's capacity. Given even when the word is unknown.
    std::optional<std::string_view> serviceName;
};

ServiceCommandLine parseServiceCommandLine(std::string_view commandTail);

// Turns the value of key 149, the `length` characters at `text`, into the
// dependency list that CreateService takes, in place: the names between the
// commas, each ending with a zero, and one more zero after the last. Empty
// items are dropped; no names give an empty list (no dependencies). Returns
// the list's length; `text` needs room for two characters beyond the value.
// A list longer than kDependencyListCapacity characters, zeros included, is
// refused by the caller rather than cut: a cut name would name another
// service.
inline constexpr size_t kDependencyListCapacity = 8192;
size_t makeDependencyList(char* text, size_t length);

// The binary path to register for the launcher at `executable`: in quotes
// when it holds a blank, so that the service control manager neither starts
// another program at a shorter path nor splits the service process's own
// command line.
std::u16string serviceBinaryPath(std::u16string_view executable);

// Whether more than `waitHint` milliseconds lie between two tick counts; the
// counts wrap every 49.7 days, so only their unsigned difference counts.
inline bool waitHintExceeded(uint32_t startTick, uint32_t nowTick, uint32_t waitHint) {
    return static_cast<uint32_t>(nowTick - startTick) > waitHint;
}
