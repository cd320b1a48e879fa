#pragma once

#include <string>

// The chosen Java runtime's home: the directory of its java executable with
// a trailing backslash, followed by "..". Empty until a JVM is bound.
extern std::string jvmHome;
