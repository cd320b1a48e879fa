#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// File and text helpers that tests of every build share.

// Whether a file or directory is there. The Windows builds ask the system
// with the narrow path exactly as the launcher would pass it.
bool exists(const std::string& path);

// A file's bytes as stored; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
std::vector<uint8_t> readBytes(const std::filesystem::path& path);

// ASCII letters lower-cased, every other byte kept: paths and names the
// launcher compares without regard to case.
std::string lowered(std::string text);
