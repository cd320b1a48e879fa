#include "launch/LauncherProperties.h"

#include "core/BufferCapacity.h"

namespace {

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
    addProperty(properties, "zelkor.unextractedPosition", std::to_string(facts.unextractedPosition));
    properties.push_back("-Djava.library.path=" +
                         (facts.libraryPath.size() <= kLibraryPathCapacity ? facts.libraryPath : std::string()));
    if (facts.consoleCodePage) addProperty(properties, "zelkor.consoleCodepage", "cp" + std::to_string(*facts.consoleCodePage));
    return properties;
}
