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
