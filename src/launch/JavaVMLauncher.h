#pragma once

#include "jvm/BoundRuntime.h"
#include "launch/ClassPath.h"
#include "launch/JniStart.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What one launch is given by the start-up sequence; the rest of what it
// needs comes from the configuration.
struct LaunchInputs {
    CreateJavaVmEntry createJavaVm = nullptr;
    const std::vector<std::u16string>* arguments = nullptr;  // the launcher's arguments
    char flavor = '\0';
    bool service = false;                       // the service child
    std::string_view semaphoreName;             // empty when no instance check ran
    std::string_view tempDir;                   // empty when nothing was extracted
    int32_t unextractedPosition = 0;            // -1 after a language restart
};

enum class LaunchStage {
    OptionsIncomplete,  // a required class path entry is missing; no JVM was created
    JvmNotCreated,
    MainCalled,         // `mainCall` says how it ended
};

struct LaunchResult {
    LaunchStage stage = LaunchStage::JvmNotCreated;
    MainCallOutcome mainCall = MainCallOutcome::Returned;
    std::optional<MissingClassPathEntry> missing;  // for OptionsIncomplete
};

// Assembles the JVM options, creates the JVM and calls the bootstrap main
// method; destroys the JVM when main returns (or the first-run hook stops it).
LaunchResult launchProgram(const LaunchInputs& inputs);
