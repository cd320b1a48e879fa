#include "launch/LauncherProperties.h"

#include "core/BufferCapacity.h"

#include <cstdio>

namespace {

// A number in decimal, as "%d" prints it.
std::string decimal(long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%ld", value);
    return text;
}

void addProperty(std::vector<std::string>& properties, const char* name, const std::string& value) {
    std::string option = std::string("-D") + name + "=" + value;
    if (option.size() >= kBufferCapacity) option.resize(kBufferCapacity - 1);
    properties.push_back(std::move(option));
}

}  // namespace

std::vector<std::string> launcherProperties(const LauncherFacts& facts) {
    std::vector<std::string> properties;
    if (facts.semaphoreName) addProperty(properties, "zelkor.semaphoreName", *facts.semaphoreName);
    if (facts.brantel) addProperty(properties, "zelkor.isBrantel", "true");
    if (facts.service) addProperty(properties, "zelkor.isService", "true");
    addProperty(properties, "zelkor.moduleName", facts.modulePath);
    addProperty(properties, "sun.java.command", facts.modulePath);
    if (facts.commFile) addProperty(properties, "zelkor.processCommFile", *facts.commFile);
    addProperty(properties, "zelkor.tempDir", facts.tempDir);
    addProperty(properties, "zelkor.unextractedPosition", decimal(facts.unextractedPosition));
    properties.push_back("-Djava.library.path=" +
                         (facts.libraryPath.size() <= kLibraryPathCapacity ? facts.libraryPath : std::string()));
    if (facts.consoleCodePage) addProperty(properties, "zelkor.consoleCodepage", "cp" + decimal(static_cast<long>(*facts.consoleCodePage)));
    return properties;
}
