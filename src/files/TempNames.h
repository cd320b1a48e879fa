#pragma once

#include <string>
#include <string_view>

// The temporary directory is named after an empty file that reserved a unique
// name: "<file>_dir<seconds>". Returns that file's name, or "" when `tempDir`
// does not have this form.
std::string reservationFileOf(std::string_view tempDir);

// A launcher holds the reservation file of its temporary directory open for
// writing, without sharing delete, from before the directory exists until it
// ends, and writes this mark into it: a reservation that holds the mark and
// can be opened without write sharing belongs to a launcher that has ended,
// so its directory may go. Directories of launchers that did not mark their
// reservation are never taken for leftovers.
inline constexpr std::string_view kOwnerMark = "launcher temporary directory\r\n";

// The launcher's names in the base temporary path (reservations, their
// directories and other temporary files), for FindFirstFile.
inline constexpr char kTempNamePattern[] = "zkr*";
