#pragma once

#include <string>
#include <string_view>

// Names and texts that the instances of one launcher agree on.

// The instance semaphore's name: "Global\" or "Local\" followed by the
// lower-cased full path of the executable with every backslash and every
// space turned into "_".
std::string instanceSemaphoreBase(bool global, std::string_view loweredFullPath);

// The name in numbered mode: the base followed by the decimal number.
std::string numberedSemaphoreName(std::string_view base, unsigned number);

// The semaphore that lets one second instance at a time hand over its arguments.
std::string notificationSemaphoreName(std::string_view base);

// What a second instance writes into the communication file: its command line
// without the program name and the blanks after it, and a line feed, as
// UTF-16LE bytes without byte-order mark or terminator. The program name ends
// at the first blank, one that starts with a double quote not before its
// closing quote; without that blank nothing is left of the command line.
// Blanks are spaces and tabs.
std::string communicationFileBytes(std::u16string_view commandLine);
