#include "files/TempNames.h"

#include <gtest/gtest.h>

namespace {

TEST(TempNamesTest, ReservationFileIsTheDirectoryNameWithoutItsTimeSuffix) {
    EXPECT_EQ(reservationFileOf("C:\\T\\zkr1A2.tmp_dir1765141200"), "C:\\T\\zkr1A2.tmp");
    EXPECT_EQ(reservationFileOf("C:\\T\\zkr1.tmp_dir-5"), "C:\\T\\zkr1.tmp");
    EXPECT_EQ(reservationFileOf("C:\\T\\a_dir1_dir2"), "C:\\T\\a_dir1");
    EXPECT_EQ(reservationFileOf("C:\\T\\zkr1.tmp_dir"), "");
    EXPECT_EQ(reservationFileOf("C:\\T\\zkr1.tmp_dirx1"), "");
    EXPECT_EQ(reservationFileOf("C:\\T\\plain"), "");
    EXPECT_EQ(reservationFileOf("_dir1"), "");
    EXPECT_EQ(reservationFileOf(""), "");
}

}  // namespace
