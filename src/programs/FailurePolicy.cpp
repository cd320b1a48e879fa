#include "programs/FailurePolicy.h"

#include "core/ConfigKeys.h"
#include "core/Configuration.h"

namespace {

constexpr int kExitNoJvm = 83;

// An outcome's configured message and the detail that stands for its "{0}".
// The internal error details are the ones a user may quote:
// docs/configuration.md lists what each means.
struct Row {
    int outcome;
    int32_t messageKey;
    const char* detail;
};

constexpr Row kExtractionRows[] = {
    {static_cast<int>(ExtractionOutcome::ReadFailed), config::kMessageInternalError, "16"},
    {static_cast<int>(ExtractionOutcome::WriteFailed), config::kMessageInternalError, "16"},
    {static_cast<int>(ExtractionOutcome::NameRefused), config::kMessageInternalError, "11"},
    {static_cast<int>(ExtractionOutcome::CreateFailed), config::kMessageInternalError, "11"},
    {static_cast<int>(ExtractionOutcome::NoTempDirectory), config::kMessageInternalError, "7"},
};

constexpr Row kHandOffRows[] = {
    {static_cast<int>(HandOffOutcome::NotCreated), config::kMessageInternalError, "21"},
    {static_cast<int>(HandOffOutcome::NotWritten), config::kMessageInternalError, "22"},
};

constexpr Row kMainCallRows[] = {
    {static_cast<int>(MainCallOutcome::ClassNotFound), config::kMessageMainClassNotFound, nullptr},
    {static_cast<int>(MainCallOutcome::MethodNotFound), config::kMessageMainMethodNotFound, nullptr},
    {static_cast<int>(MainCallOutcome::FirstRunClassNotFound), config::kMessageInternalError, "14"},
    {static_cast<int>(MainCallOutcome::FirstRunMethodNotFound), config::kMessageInternalError, "15"},
    {static_cast<int>(MainCallOutcome::ArgumentArrayFailed), config::kMessageInternalError, "paramArray"},
    {static_cast<int>(MainCallOutcome::ArgumentStringFailed), config::kMessageInternalError, "jstr"},
};

template <size_t N>
std::optional<FailureReport> lookUp(const Row (&rows)[N], int outcome) {
    for (const Row& row : rows)
        if (row.outcome == outcome) return FailureReport{row.messageKey, row.detail, nullptr, 1};
    return std::nullopt;
}

}  // namespace

std::optional<FailureReport> extractionFailure(ExtractionOutcome outcome, const char* failureText) {
    if (outcome == ExtractionOutcome::PayloadDamaged) return configurationFailure(failureText);
    if (outcome == ExtractionOutcome::Unreadable) return configurationFailure(kOwnExecutableUnreadable);
    return lookUp(kExtractionRows, static_cast<int>(outcome));
}

std::optional<FailureReport> handOffFailure(HandOffOutcome outcome) {
    return lookUp(kHandOffRows, static_cast<int>(outcome));
}

std::optional<FailureReport> mainCallFailure(MainCallOutcome outcome, LauncherProgram program) {
    if (outcome == MainCallOutcome::Exception) return jvmNotCreatedFailure(program);
    return lookUp(kMainCallRows, static_cast<int>(outcome));
}

FailureReport configurationFailure(const char* text) { return {0, nullptr, text, 1}; }

FailureReport noJvmFailure(const LoadFailureMessage& message, LauncherProgram program) {
    return {message.key, message.detail ? message.detail->c_str() : nullptr, nullptr,
            program == LauncherProgram::Gui ? kExitNoJvm : 1};
}

FailureReport missingEntryFailure(int32_t messageKey, const char* detail) { return {messageKey, detail, nullptr, 1}; }

// Only the GUI launcher has a message for these; the service child just ends.
FailureReport jvmNotCreatedFailure(LauncherProgram program) {
    return {program == LauncherProgram::Gui ? config::kMessageJvmStartFailed : 0, nullptr, nullptr, 1};
}
