// Failure rows of the temporary directory and extraction, forced through the
// system-call table under Wine. Extraction reports its outcome; the exit that
// follows ends the process through the table's exitProcess, which here ends
// only a thread of its own, so the test reads the exit code and looks at what
// was left behind.
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "diag/ErrorReport.h"
#include "diag/ExitActions.h"
#include "files/Extraction.h"
#include "files/TempDirectory.h"
#include "RunToExit.h"
#include "support/ProcessStateGuard.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FailurePathTest : public ::testing::Test {
protected:
    void SetUp() override { setQuiet(); }

    ProcessStateGuard processState_;
};

int directoryAttempts = 0;
BOOL WINAPI refuseDirectory(LPCSTR, LPSECURITY_ATTRIBUTES) {
    ++directoryAttempts;
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(FailurePathTest, TemporaryDirectoryThatCannotBeCreatedIsGivenUpAfterTenAttempts) {
    directoryAttempts = 0;
    systemCalls().createDirectory = refuseDirectory;
    EXPECT_FALSE(createTempDir());
    EXPECT_EQ(directoryAttempts, 10);
    EXPECT_EQ(tempDir(), "");

    storeNarrowValue(config::kEmbeddedFileCount, "1");
    storeNarrowValue(config::kEmbeddedFileNames, "app.jar;");
    EXPECT_EQ(extractEmbeddedFiles(0).outcome, ExtractionOutcome::NoTempDirectory);
}

TEST_F(FailurePathTest, ACreatedTemporaryDirectoryIsRemovedByEveryExit) {
    ASSERT_TRUE(createTempDir());
    const std::string directory = tempDir();
    ASSERT_TRUE(exists(directory));
    EXPECT_EQ(runToExit([] { exitLauncher(5); }), 5u);
    EXPECT_FALSE(exists(directory));
}

UINT WINAPI refuseTempFileName(LPCSTR, LPCSTR, UINT, LPSTR) {
    ::SetLastError(ERROR_DISK_FULL);
    return 0;
}

TEST_F(FailurePathTest, UniqueNameFallsBackToARandomNumberWhenTheSystemGivesNone) {
    systemCalls().getTempFileName = refuseTempFileName;
    const std::string base = findTempPath();
    const std::string name = makeTempFileName();
    ASSERT_EQ(name.rfind(base + "zkr", 0), 0u) << name;
    EXPECT_NE(name.find_first_of("0123456789", base.size()), std::string::npos) << name;
}

DWORD WINAPI noTempPath(DWORD, LPSTR) { return 0; }

TEST_F(FailurePathTest, HomeDirectoryServesAsTemporaryPathWithItsBackslash) {
    systemCalls().getTempPath = noTempPath;
    ::SetEnvironmentVariableA("HOMEDRIVE", "C:");
    ::SetEnvironmentVariableA("HOMEPATH", "\\windows");
    EXPECT_EQ(findTempPath(), "C:\\windows\\");
}

HANDLE WINAPI refuseFile(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

TEST_F(FailurePathTest, ExtractedFileThatCannotBeCreatedIsReportedAndTheExitLeavesNoDirectory) {
    // The test program has no payload: its own first bytes stand in for the
    // first file's size, which is all extraction reads before creating it.
    storeNarrowValue(config::kEmbeddedFileCount, "1");
    storeNarrowValue(config::kEmbeddedFileNames, "lib\\app.jar;");
    systemCalls().createFile = refuseFile;
    const Extraction extraction = extractEmbeddedFiles(0);
    EXPECT_EQ(extraction.outcome, ExtractionOutcome::CreateFailed);
    ASSERT_NE(extraction.tempDir, "");
    EXPECT_EQ(extraction.tempDir, tempDir()) << "the exit actions remove what extraction returns";
    EXPECT_EQ(runToExit([] { exitLauncher(1); }), 1u);
    EXPECT_FALSE(exists(extraction.tempDir));
}

BOOL WINAPI refuseWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

TEST_F(FailurePathTest, AWriteFailureDuringExtractionIsReported) {
    storeNarrowValue(config::kEmbeddedFileCount, "1");
    storeNarrowValue(config::kEmbeddedFileNames, "app.jar;");
    systemCalls().writeFile = refuseWrite;
    const Extraction extraction = extractEmbeddedFiles(0);
    EXPECT_EQ(extraction.outcome, ExtractionOutcome::WriteFailed);
    EXPECT_EQ(extraction.unextractedPosition, 0u);
    EXPECT_TRUE(exists(extraction.tempDir + "\\app.jar")) << "the file was created before the write failed";
}

TEST(HandleOwnerTest, PutLendsTheSlotAndReleaseGivesUpOwnership) {
    RegistryKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    ASSERT_TRUE(key);
    const HKEY raw = key.get();
    RegistryKey moved(std::move(key));
    EXPECT_FALSE(key);
    EXPECT_EQ(moved.get(), raw);
    EXPECT_EQ(moved.release(), raw);
    EXPECT_FALSE(moved);
    // Still open: the owner let go without closing it.
    EXPECT_EQ(::RegCloseKey(raw), ERROR_SUCCESS);
}

}  // namespace
