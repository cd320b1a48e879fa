// Leftover temporary directories under Wine: a launcher holds its marked
// reservation for its whole life, and the sweep removes a directory only when
// that reservation proves its owner has ended.
#include "core/LauncherState.h"
#include "core/win/Handles.h"
#include "files/TempDirectory.h"
#include "files/TempNames.h"
#include "files/TempSweep.h"
#include "ScratchDirectory.h"
#include "support/ProcessStateGuard.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Opens `path` as a running owner or a running application holds it: for
// writing, without delete sharing.
FileHandle holdOpen(const std::string& path) {
    return FileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string contentOf(const std::string& path) {
    const FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char text[256];
    DWORD count = 0;
    if (!file || !::ReadFile(file.get(), text, sizeof text, &count, nullptr)) return "<unreadable>";
    return std::string(text, count);
}

class TempSweepTest : public ::testing::Test {
protected:
    // A launcher's leftovers in the scratch base: "zkr<id>.tmp" with `reservation`
    // (nullptr: none) and its directory with a file two levels down.
    std::string leftover(const std::string& id, const char* reservation) {
        const std::string name = "zkr" + id + ".tmp";
        if (reservation) scratch_.file(name, reservation);
        const std::string directory = scratch_.directory(name + "_dir1733700000");
        scratch_.file(name + "_dir1733700000\\app.jar");
        scratch_.directory(name + "_dir1733700000\\lib");
        scratch_.directory(name + "_dir1733700000\\lib\\native");
        scratch_.file(name + "_dir1733700000\\lib\\native\\x.dll");
        return directory;
    }
    std::string base() const { return scratch_.path() + "\\"; }
    static std::string reservationOf(const std::string& directory) { return reservationFileOf(directory); }

    ProcessStateGuard processState_;
    ScratchDirectory scratch_;
};

TEST_F(TempSweepTest, OnlyDirectoriesOfEndedOwnersGoAndNotAFileOfTheOthers) {
    const std::string mark(kOwnerMark);
    const std::string ended = leftover("A1", mark.c_str());
    const std::string running = leftover("B2", mark.c_str());
    const std::string unmarked = leftover("C3", "");          // an older launcher, maybe still running
    const std::string foreign = leftover("D4", std::string(kOwnerMark.size(), 'f').c_str());  // the size alone is no proof
    const std::string unreserved = leftover("E5", nullptr);
    const std::string plainFile = scratch_.file("zkrF6.tmp_dir1733700000");
    const FileHandle owner = holdOpen(reservationOf(running));
    ASSERT_TRUE(owner);

    EXPECT_EQ(sweepLeftoverTempDirectories(base()), 1);
    EXPECT_FALSE(exists(ended));
    EXPECT_FALSE(exists(reservationOf(ended)));
    for (const std::string& kept : {running, unmarked, foreign, unreserved}) {
        SCOPED_TRACE(kept);
        EXPECT_TRUE(exists(kept + "\\app.jar"));
        EXPECT_TRUE(exists(kept + "\\lib\\native\\x.dll"));
    }
    EXPECT_EQ(contentOf(reservationOf(running)), mark);
    EXPECT_EQ(contentOf(reservationOf(unmarked)), "");
    EXPECT_TRUE(exists(plainFile));
}

// A file that something still holds (a process the application started) keeps
// the directory; the reservation is marked again, so a later start finishes.
TEST_F(TempSweepTest, DirectoryWithAHeldFileIsTriedAgainByALaterSweep) {
    const std::string directory = leftover("A1", std::string(kOwnerMark).c_str());
    FileHandle held = holdOpen(directory + "\\app.jar");
    ASSERT_TRUE(held);
    EXPECT_EQ(sweepLeftoverTempDirectories(base()), 0);
    EXPECT_TRUE(exists(directory + "\\app.jar"));
    EXPECT_EQ(contentOf(reservationOf(directory)), std::string(kOwnerMark));
    held.reset();
    EXPECT_EQ(sweepLeftoverTempDirectories(base()), 1);
    EXPECT_FALSE(exists(directory));
    EXPECT_FALSE(exists(reservationOf(directory)));
}

// Unmarked leftovers (older launchers') cost nothing but a listing entry and
// never use up the sweep's budget.
TEST_F(TempSweepTest, EachSweepLooksAtABoundedNumberOfMarkedReservations) {
    for (int i = 0; i < kSweepLimit + 8; ++i) {
        leftover(std::to_string(1000 + i), std::string(kOwnerMark).c_str());
        leftover(std::to_string(2000 + i), "");
    }
    EXPECT_EQ(sweepLeftoverTempDirectories(base()), kSweepLimit);
    EXPECT_EQ(sweepLeftoverTempDirectories(base()), 8);
    EXPECT_EQ(sweepLeftoverTempDirectories(base()), 0);
}

// The launcher's own directory: its reservation is held while it runs, and
// what the runtime still holds at the end stays for the sweep.
TEST_F(TempSweepTest, OwnReservationIsHeldUntilTheDirectoryIsRemoved) {
    ASSERT_TRUE(createTempDir());
    const std::string directory = tempDir();
    const std::string reservation = reservationOf(directory);
    ASSERT_FALSE(reservation.empty()) << directory;
    EXPECT_EQ(contentOf(reservation), std::string(kOwnerMark));
    EXPECT_FALSE(::DeleteFileA(reservation.c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    const std::string jar = directory + "\\app.jar";
    FileHandle(::CreateFileA(jar.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    FileHandle mapped = holdOpen(jar);
    removeTempDirectory();
    EXPECT_EQ(tempDir(), "");
    EXPECT_TRUE(exists(jar));
    EXPECT_TRUE(exists(reservation)) << "the proof for the sweep stays";
    EXPECT_TRUE(::DeleteFileA(reservation.c_str())) << "and is no longer held";

    // Without a held file, nothing is left.
    mapped.reset();
    ::DeleteFileA(jar.c_str());
    ::RemoveDirectoryA(directory.c_str());
    ASSERT_TRUE(createTempDir());
    const std::string second = tempDir();
    removeTempDirectory();
    EXPECT_FALSE(exists(second));
    EXPECT_FALSE(exists(reservationOf(second)));
}

}  // namespace
