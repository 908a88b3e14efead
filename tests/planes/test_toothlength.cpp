#include "planes/toothlength.h"

#include "core/error.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik;
using namespace trelvik::planes;
using trelvik::testing::TempFolder;

TEST(ToothLength, WritesTheRoundedDistanceAndReadsItBack) {
    TempFolder dir;
    const std::string folder = dir.folder() + "/";
    const std::string path = toothLengthPath(folder, "M1");
    EXPECT_EQ(path, folder + "M1_tl.txt");

    writeToothLengthFile(path, std::sqrt(2.0) * 10);  // 14.1421356...
    EXPECT_EQ(dir.read("M1_tl.txt"), "14.142\r\n");
    const ToothLength tl = readToothLengthFile(path);
    EXPECT_EQ(tl.text, "14.142");
    EXPECT_DOUBLE_EQ(tl.value, 14.142);

    // Halves go to the even neighbour; 0.0625 is exact in binary so the tie is real.
    EXPECT_DOUBLE_EQ(roundToothLength(0.0625), 0.062);
    EXPECT_DOUBLE_EQ(roundToothLength(0.1875), 0.188);
    writeToothLengthFile(path, 0.0625);
    EXPECT_EQ(dir.read("M1_tl.txt"), "0.062\r\n");

    // A file written by hand, with blanks and no line end, reads the same way.
    EXPECT_DOUBLE_EQ(readToothLengthFile(dir.write("h_tl.txt", "\r\n  12.345 ")).value, 12.345);
}

TEST(ToothLength, RefusesFilesAndLengthsThatAreNotALength) {
    TempFolder dir;
    for (const char* bad : {"", "\r\n", "abc\r\n", "12.3.4\r\n", "12,5\r\n", "0\r\n", "-3\r\n"}) {
        const auto path = dir.write("bad_tl.txt", bad);
        try {
            readToothLengthFile(path);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(readToothLengthFile(dir.path("none_tl.txt")), Error);

    // A length that rounds to nothing is not written, and an older file stays.
    const auto path = dir.write("keep_tl.txt", "9.5\r\n");
    EXPECT_THROW(writeToothLengthFile(path, 0.0004), Error);
    EXPECT_THROW(writeToothLengthFile(path, std::nan("")), Error);
    EXPECT_EQ(dir.read("keep_tl.txt"), "9.5\r\n");
}
