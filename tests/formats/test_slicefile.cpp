#include "formats/slicefile.h"

#include "core/error.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik;
using namespace trelvik::formats;
using trelvik::testing::TempFolder;

TEST(SliceFile, ReadsPointsInOrderAndMarksBlanks) {
    TempFolder dir;
    // The stand-in's own form (commas, CR LF), then blank-separated and LF-only lines,
    // a blank node and a trailing empty line.
    const auto path = dir.write("s.dat",
                                "0.5,0.5,2.5,0,1\r\n"
                                "1,0.75,3.25,0.559016994374947,1\r\n"
                                "2 1.25 1.70141E+38 1.67705098312484 1\n"
                                "  3\t1.75, -4E-05 , 2.79508497187474 2\r\n"
                                "\r\n");
    const auto pts = readSliceFile(path);
    ASSERT_EQ(pts.size(), 4u);
    EXPECT_DOUBLE_EQ(pts[0].x, 0.5);
    EXPECT_DOUBLE_EQ(pts[1].y, 0.75);
    EXPECT_DOUBLE_EQ(pts[1].z, 3.25);
    EXPECT_DOUBLE_EQ(pts[1].distance, 0.559016994374947);
    EXPECT_FALSE(pts[1].blank());
    EXPECT_TRUE(pts[2].blank());
    EXPECT_DOUBLE_EQ(pts[3].x, 3);
    EXPECT_DOUBLE_EQ(pts[3].z, -4e-05);
    EXPECT_FALSE(pts[3].blank());

    // The blank mark sits just above 1.7E+38; a huge but real height is not blank.
    EXPECT_FALSE((SlicePoint{0, 0, 1.7e38, 0}.blank()));
    EXPECT_TRUE((SlicePoint{0, 0, std::nan(""), 0}.blank()));

    EXPECT_TRUE(readSliceFile(dir.write("empty.dat", "")).empty());
}

TEST(SliceFile, MalformedOrMissingFilesNameTheFileAndLine) {
    TempFolder dir;
    const struct {
        const char* text;
        const char* line;
    } bad[] = {
        {"1,2,3,4,1\r\n1,2,3,4\r\n", "line 2"},          // a value short: would shift every later point
        {"1,2,3,4,1\r\nx,2,3,4,1\r\n", "line 2"},        // not a number
        {"1,2,3,4,1\r\n\r\n1,2,3a,4,1\r\n", "line 3"},   // a number with trailing text
    };
    for (const auto& b : bad) {
        const auto path = dir.write("bad.dat", b.text);
        try {
            readSliceFile(path);
            ADD_FAILURE() << b.text;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(b.line), std::string::npos) << e.what();
        }
    }
    try {
        readSliceFile(dir.path("none.dat"));
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("none.dat"), std::string::npos) << e.what();
    }
}
