#pragma once

#include "PayloadWriter.h"

#include <filesystem>
#include <string>
#include <string_view>

// The readable description of a launcher's payload, one item per line:
//
//   # comment
//   107 = 1                         narrow entry
//   launcherKind = 1                the same, by the key's name in the catalogue
//   wide 20017 = Media Server       wide entry (UTF-8 in the file, UTF-16 in the payload)
//   locale de_AT 20017 = Medienserver
//                                   wide override in the locale section "de_AT"
//                                   (sections are written in order of first mention)
//   file lib\app.jar = build/app.jar
//                                   embedded file; a relative path is taken from the
//                                   directory of the description file
//
// A value is the text after "=" without surrounding blanks, or a double-quoted
// text in which \n, \t, \" and \\ are escapes (for exact blanks and line feeds);
// any other backslash stands for itself.
namespace payload {

// Adds the items of `text` to `payload`. `baseDirectory` resolves relative
// embedded file paths. Returns false with `error` naming the line on a
// malformed line.
bool parseLauncherDescription(std::string_view text, const std::filesystem::path& baseDirectory, LauncherPayload& payload,
                      std::string& error);

bool readLauncherDescriptionFile(const std::filesystem::path& path, LauncherPayload& payload, std::string& error);

// One "KEY=VALUE" item as given on a command line: the key is a number or a
// catalogue name, the value is taken literally.
bool parseKeyValue(std::string_view item, int32_t& key, std::string& value, std::string& error);

// Adds a wide override to the section of `prefix`, creating the section at the
// end when it does not exist yet.
void addLocaleOverride(ConfigurationRecord& record, const std::string& prefix, int32_t key, std::u16string value);

}  // namespace payload
