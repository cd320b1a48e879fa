#pragma once

// What the user is told and how the launcher ends, for every way a start
// can fail. Deeper code returns its outcome; this table alone turns it into
// a message (a configured one with its detail, or a fixed text) and an exit
// code. Portable, so the table is checked on the host too.

#include "files/Extraction.h"
#include "files/InstanceHandOff.h"
#include "jvm/JvmPaths.h"
#include "launch/JniStart.h"

#include <cstdint>
#include <optional>

enum class LauncherProgram { Gui, ServiceChild };

struct FailureReport {
    int32_t messageKey = 0;       // a configured message; 0 for none
    const char* detail = nullptr;  // its "{0}", when it has one
    const char* text = nullptr;    // a fixed text in place of a configured message
    int exitCode = 1;
};

// Nothing when the outcome is no failure.
std::optional<FailureReport> extractionFailure(ExtractionOutcome outcome, const char* failureText);
std::optional<FailureReport> handOffFailure(HandOffOutcome outcome);
std::optional<FailureReport> mainCallFailure(MainCallOutcome outcome, LauncherProgram program);

// The configuration could not be loaded; `text` says why.
FailureReport configurationFailure(const char* text);
// No runtime was found, or its library did not bind: the message for the way
// it was found (the report refers to `message`'s detail).
FailureReport noJvmFailure(const LoadFailureMessage& message, LauncherProgram program);
// A class path entry that must exist is missing (the report refers to `detail`).
FailureReport missingEntryFailure(int32_t messageKey, const char* detail);
// The JVM could not be created.
FailureReport jvmNotCreatedFailure(LauncherProgram program);
