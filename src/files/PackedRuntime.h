#pragma once

#include <string>

// A Java runtime shipped with its jars packed: a home that holds
// "lib\rt.jar.pack" but no "lib\jsse.jar" is unpacked in place before it is
// checked. Does nothing for any other home; ends the launcher only when the
// unpack tool cannot be started.
void preparePackedRuntime(const std::string& home);
