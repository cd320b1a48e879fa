#pragma once

#include "core/WinApi.h"

#include <utility>

// One move-only owner per kind of handle; each kind knows its own "empty"
// value and how it is closed. The operation that opens a handle holds it in
// one of these, so every way out of that operation closes it.
template <typename Traits>
class HandleOwner {
public:
    using Handle = typename Traits::Handle;

    HandleOwner() = default;
    explicit HandleOwner(Handle handle) : handle_(handle) {}
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    HandleOwner(HandleOwner&& other) noexcept : handle_(std::exchange(other.handle_, Traits::empty())) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Traits::empty());
        }
        return *this;
    }
    ~HandleOwner() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::isValid(handle_); }

    // Closes what is held and lends the slot to a Win32 call that hands its
    // handle back through an out parameter: RegOpenKeyExA(..., key.put()).
    Handle* put() {
        reset();
        return &handle_;
    }

    // Gives up ownership: the caller closes what is returned.
    Handle release() { return std::exchange(handle_, Traits::empty()); }

    void reset() {
        if (Traits::isValid(handle_)) Traits::close(handle_);
        handle_ = Traits::empty();
    }

private:
    Handle handle_ = Traits::empty();
};

// Files from CreateFile: INVALID_HANDLE_VALUE when absent (a null handle is
// refused as well).
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle empty() { return INVALID_HANDLE_VALUE; }
    static bool isValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(Handle h) { ::CloseHandle(h); }
};
using FileHandle = HandleOwner<FileHandleTraits>;

// Processes, threads, events, semaphores, pipes: null when absent.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle empty() { return nullptr; }
    static bool isValid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::CloseHandle(h); }
};
using KernelHandle = HandleOwner<KernelHandleTraits>;

// Enumerations from FindFirstFile.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle empty() { return INVALID_HANDLE_VALUE; }
    static bool isValid(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { ::FindClose(h); }
};
using FindHandle = HandleOwner<FindHandleTraits>;

// Libraries from LoadLibrary.
struct ModuleHandleTraits {
    using Handle = HMODULE;
    static Handle empty() { return nullptr; }
    static bool isValid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::FreeLibrary(h); }
};
using ModuleHandle = HandleOwner<ModuleHandleTraits>;

// Registry keys from RegOpenKeyEx and RegCreateKeyEx.
struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle empty() { return nullptr; }
    static bool isValid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::RegCloseKey(h); }
};
using RegistryKey = HandleOwner<RegistryKeyTraits>;

// The service control manager and its services.
struct ServiceHandleTraits {
    using Handle = SC_HANDLE;
    static Handle empty() { return nullptr; }
    static bool isValid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::CloseServiceHandle(h); }
};
using ServiceHandle = HandleOwner<ServiceHandleTraits>;

// The two handles that CreateProcess hands back, owned together.
struct ProcessHandles {
    ProcessHandles() = default;
    explicit ProcessHandles(const PROCESS_INFORMATION& started)
        : process(started.hProcess), thread(started.hThread) {}
    KernelHandle process;
    KernelHandle thread;
};
