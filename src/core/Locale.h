#pragma once

#include "core/Callback.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The user's locale as a Java-style text ("de_CH", "en", "no_NO_NY"), decided
// once while the configuration loads. Locale sections of the payload are
// chosen by it, and the JVM options carry its language and country when the
// user asks for the display language instead of the format locale.

struct LocaleEntry {
    template <size_t N>
    constexpr LocaleEntry(uint16_t id, const char (&text)[N]) : langId(id), name{} {
        static_assert(N <= sizeof name + 1, "a locale name has at most eight characters");
        for (size_t i = 0; i + 1 < N; ++i) name[i] = text[i];
    }

    uint16_t langId;  // a full LANGID, or a primary language (low 10 bits) alone
    // At most eight characters, kept in the entry (the table is half the size
    // of one with pointers) and without a terminator when all eight are used.
    char name[8];
    std::string_view text() const {
        size_t length = 0;
        while (length < sizeof name && name[length] != '\0') ++length;
        return {name, length};
    }
};

// The fixed mapping, following Java's locale names (old codes "iw" and "in").
std::span<const LocaleEntry> localeTable();

// Full LANGID first, then its primary language, else "en".
std::string_view localeForLangId(uint16_t langId);

// False when the last "-Dsun.locale.formatasdefault=" argument has any value
// but exactly "true"; true when there is none.
bool formatAsDefault(const std::vector<std::u16string>& arguments);

// `arguments` is the launcher's argument list, or nullptr for the service
// launcher, which always follows the default user locale. The interface
// language is asked for only when formatasdefault is false; nullopt means it
// could not be found and the default LANGID stays.
std::string detectLocale(const std::vector<std::u16string>* arguments, uint16_t userDefaultLangId,
                         const Callback<std::optional<uint16_t>()>& userInterfaceLangId);

// Keeps the language (first two characters) and, for a text of exactly five
// characters, the country (characters four and five) for the queries below.
void splitLocale(std::string_view localeString);

// Copy the two letters and a terminator; false, with `out` untouched, when not set.
bool localeLanguage(char (&out)[3]);
bool localeCountry(char (&out)[3]);
