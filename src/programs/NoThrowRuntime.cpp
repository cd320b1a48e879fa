// The launcher is built without exceptions. What the C++ library would throw
// (allocation failure, a string position out of range, a call through an
// empty std::function) ends the launcher here instead, through the same fatal
// path as every other error. Defining these also keeps the library's
// exception machinery, its demangler and its verbose terminate handler out of
// the templates.
#include "core/WinApi.h"
#include "diag/ErrorReport.h"

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void endLauncher(const char* text) {
    // Showing the message allocates; if that fails too, end without a word.
    static bool ending = false;
    if (ending) ::ExitProcess(1);
    ending = true;
    fatalError(text);
}

void* allocate(std::size_t size) {
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    endLauncher("Out of memory");
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace std {
void __throw_bad_alloc() { endLauncher("Out of memory"); }
void __throw_bad_array_new_length() { endLauncher("Out of memory"); }
void __throw_length_error(const char*) { endLauncher("Internal Error: length"); }
void __throw_out_of_range(const char*) { endLauncher("Internal Error: range"); }
void __throw_out_of_range_fmt(const char*, ...) { endLauncher("Internal Error: range"); }
void __throw_logic_error(const char*) { endLauncher("Internal Error: logic"); }
void __throw_invalid_argument(const char*) { endLauncher("Internal Error: argument"); }
void __throw_bad_function_call() { endLauncher("Internal Error: function"); }
}  // namespace std

extern "C" void __cxa_pure_virtual() { endLauncher("Internal Error: pure virtual call"); }
