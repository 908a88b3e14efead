#include "formats/latticecsv.h"
#include "formats/resultscsv.h"
#include "formats/xyzpointfile.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/tempfolder.h"

using namespace trelvik;
using namespace trelvik::formats;
using trelvik::testing::TempFolder;

TEST(LatticeCsv, WritesGeneralFormAndReadsEverySeparator) {
    TempFolder t;
    const PointList pts{{1, 2.5, -3}, {0.125, 1e-5, 1.70141e38}, {123456789.123, -0.5, 9999}};
    writeLatticeCsv(t.path("a.csv"), pts);
    EXPECT_EQ(t.read("a.csv"), "1,2.5,-3\r\n0.125,1E-05,1.70141E+38\r\n123456789.123,-0.5,9999\r\n");
    const PointList back = readLatticeCsv(t.path("a.csv"));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1].y, 1e-5);
    EXPECT_EQ(back[1].z, 1.70141e38);
    EXPECT_EQ(back[2].x, 123456789.123);

    // Blanks, tabs, a plus sign, a bare LF, a missing final line end and a trailing
    // empty line are all read; an item that is no number is an error naming the line.
    t.write("b.xyz", "  1 2\t3\n+4, .5 ,-6e1\r\n7,8,9\r\n\r\n");
    const PointList b = readXyzPointFile(t.path("b.xyz"));
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[1].x, 4);
    EXPECT_EQ(b[1].y, 0.5);
    EXPECT_EQ(b[1].z, -60);
    t.write("c.xyz", "1,2,3\r\n4,5\r\n");
    try {
        readXyzPointFile(t.path("c.xyz"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("c.xyz: line 2"), std::string::npos);
    }
    EXPECT_THROW(readLatticeCsv(t.path("missing.csv")), Error);
    for (const char* bad : {"1,2,3\nnan,1,2\n", "1,2,3\n1,inf,2\n", "1,2,3\n1,2,-inf\n", "1,2,3\n1,2,NaN\n"}) {
        t.write("d.csv", bad);
        try {
            readLatticeCsv(t.path("d.csv"));
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("d.csv: line 2"), std::string::npos) << e.what();
        }
    }
}

TEST(LatticeCsv, StepsAreTheSmallestConsecutiveDifferences) {
    const PointList pts{{0, 0, 1}, {0.2, 0, 1}, {0.1, 0, 1}, {0.1, 0.25, 1}, {0.1, 0.25, 1}, {0.1000000001, 0.75, 1}};
    const LatticeSteps s = findLatticeSteps(pts);
    EXPECT_DOUBLE_EQ(s.xstep, 0.1);  // 1E-10 is 0 at 6 decimals
    EXPECT_DOUBLE_EQ(s.ystep, 0.25);
    const LatticeSteps none = findLatticeSteps({{1, 1, 1}, {1, 2, 1}});
    EXPECT_FALSE(none.xFound());
    EXPECT_TRUE(none.yFound());
    EXPECT_EQ(latticeIndex(0.3, 0.1), 4);
    EXPECT_EQ(latticeIndex(0.25, 0.1), 3);  // 2.5 rounds to the even 2
    EXPECT_EQ(latticeIndex(0.35, 0.1), 5);  // 3.5 rounds to the even 4
    EXPECT_EQ(latticeIndex(-0.1, 0.1), 0);
}

TEST(LatticeCsv, ExtentSkipsEmptyMarkersAndFailsWithoutHeights) {
    PointList pts{{-5, -5, 9999}, {1, 2, 3}, {2, 3, 4}, {9, 9, 9999}};
    const LatticeExtent e = calcLatticeExtent(pts, true, "x.csv");
    EXPECT_EQ(e.xmin, 1);
    EXPECT_EQ(e.ymax, 3);
    EXPECT_EQ(e.zminBeforeRezero, -4);
    EXPECT_EQ(e.zmax, 1);
    EXPECT_EQ(pts[0].z, 9999);  // markers are neither negated nor shifted
    EXPECT_EQ(pts[1].z, 1);
    PointList only{{1, 1, 9999}};
    EXPECT_THROW(calcLatticeExtent(only, false, "x.csv"), Error);
}

TEST(ResultsCsv, TablesReplacedAndSummariesAppended) {
    TempFolder t;
    const std::string f = t.path("r.csv");
    writeResultsTable(f, {"\"A\",1", "", "2"});
    EXPECT_EQ(t.read("r.csv"), "\"A\",1\r\n\r\n2\r\n");
    writeResultsTable(f, {"x"});
    EXPECT_EQ(t.read("r.csv"), "x\r\n");
    writeSummaryRow(t.path("00s.csv"), "\"File\"", "\"a\"", true);
    writeSummaryRow(t.path("00s.csv"), "\"File\"", "\"b\"", false);
    EXPECT_EQ(t.read("00s.csv"), "\"File\"\r\n\"a\"\r\n\"b\"\r\n");
    writeSummaryRow(t.path("00s.csv"), "\"File\"", "\"c\"", true);
    EXPECT_EQ(t.read("00s.csv"), "\"File\"\r\n\"c\"\r\n");
    // A table that cannot be written is reported and nothing is left behind.
    EXPECT_THROW(writeResultsTable(t.path("no/such/dir/r.csv"), {"x"}), Error);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.dir()), std::filesystem::directory_iterator()), 2);
}
