#pragma once

#include <functional>
#include <new>
#include <type_traits>
#include <utility>

// A callable held by value, for the seams through which portable code reaches
// the system (and tests put their fakes in its place). Only small callables
// that can be copied as bytes are taken: plain functions, and lambdas that
// capture a few pointers or references. Holding nothing else, a Callback needs
// no code to copy or destroy what it holds; calling one goes through a single
// function per callable type. Calling an empty Callback ends the program the
// way calling an empty std::function does.
template <typename Signature>
class Callback;

template <typename Result, typename... Args>
class Callback<Result(Args...)> {
public:
    Callback() = default;
    Callback(std::nullptr_t) {}

    template <typename Callable,
              typename = std::enable_if_t<!std::is_same_v<std::decay_t<Callable>, Callback> &&
                                          std::is_invocable_r_v<Result, std::decay_t<Callable>&, Args...>>>
    Callback(Callable&& callable) {  // NOLINT(google-explicit-constructor): stands in for a function
        using Stored = std::decay_t<Callable>;
        static_assert(std::is_trivially_copyable_v<Stored> && std::is_trivially_destructible_v<Stored>,
                      "a Callback holds only callables that can be copied as bytes");
        static_assert(sizeof(Stored) <= sizeof(Storage) && alignof(Stored) <= alignof(Storage),
                      "a Callback holds at most two pointers' worth of captures");
        // A null function pointer makes an empty Callback; a function named
        // directly (a reference) never is one.
        if constexpr ((std::is_pointer_v<Stored> || std::is_member_pointer_v<Stored>) &&
                      !std::is_function_v<std::remove_reference_t<Callable>>) {
            if (callable == nullptr) return;
        }
        ::new (static_cast<void*>(&storage_)) Stored(std::forward<Callable>(callable));
        invoke_ = [](const Storage& storage, Args... args) -> Result {
            Stored& stored = *std::launder(reinterpret_cast<Stored*>(const_cast<Storage*>(&storage)));
            if constexpr (std::is_void_v<Result>)
                stored(std::forward<Args>(args)...);
            else
                return stored(std::forward<Args>(args)...);
        };
    }

    explicit operator bool() const { return invoke_ != &callEmpty; }

    Result operator()(Args... args) const { return invoke_(storage_, std::forward<Args>(args)...); }

private:
    struct Storage {
        alignas(void*) unsigned char bytes[2 * sizeof(void*)];
    };
    static Result callEmpty(const Storage&, Args...) { std::__throw_bad_function_call(); }

    Storage storage_{};
    Result (*invoke_)(const Storage&, Args...) = &callEmpty;
};
