#include "formats/latticecsv.h"
#include "formats/resultscsv.h"
#include "formats/xyzpointfile.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace trelvik;
using namespace trelvik::formats;

namespace {

struct Tmp {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("trelvik_lcsv_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    Tmp() { std::filesystem::create_directories(dir); }
    ~Tmp() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string p(const std::string& n) const { return (dir / n).string(); }
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void put(const std::string& path, const std::string& s) { std::ofstream(path, std::ios::binary) << s; }

} // namespace

TEST(LatticeCsv, WritesGeneralFormAndReadsEverySeparator) {
    Tmp t;
    const PointList pts{{1, 2.5, -3}, {0.125, 1e-5, 1.70141e38}, {123456789.123, -0.5, 9999}};
    writeLatticeCsv(t.p("a.csv"), pts);
    EXPECT_EQ(slurp(t.p("a.csv")), "1,2.5,-3\r\n0.125,1E-05,1.70141E+38\r\n123456789.123,-0.5,9999\r\n");
    const PointList back = readLatticeCsv(t.p("a.csv"));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1].y, 1e-5);
    EXPECT_EQ(back[1].z, 1.70141e38);
    EXPECT_EQ(back[2].x, 123456789.123);

    // Blanks, tabs, a plus sign, a bare LF, a missing final line end and a trailing
    // empty line are all read; an item that is no number is an error naming the line.
    put(t.p("b.xyz"), "  1 2\t3\n+4, .5 ,-6e1\r\n7,8,9\r\n\r\n");
    const PointList b = readXyzPointFile(t.p("b.xyz"));
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[1].x, 4);
    EXPECT_EQ(b[1].y, 0.5);
    EXPECT_EQ(b[1].z, -60);
    put(t.p("c.xyz"), "1,2,3\r\n4,5\r\n");
    try {
        readXyzPointFile(t.p("c.xyz"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("c.xyz: line 2"), std::string::npos);
    }
    EXPECT_THROW(readLatticeCsv(t.p("missing.csv")), Error);
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
    Tmp t;
    const std::string f = t.p("r.csv");
    writeResultsTable(f, {"\"A\",1", "", "2"});
    EXPECT_EQ(slurp(f), "\"A\",1\r\n\r\n2\r\n");
    writeResultsTable(f, {"x"});
    EXPECT_EQ(slurp(f), "x\r\n");
    writeSummaryRow(t.p("00s.csv"), "\"File\"", "\"a\"", true);
    writeSummaryRow(t.p("00s.csv"), "\"File\"", "\"b\"", false);
    EXPECT_EQ(slurp(t.p("00s.csv")), "\"File\"\r\n\"a\"\r\n\"b\"\r\n");
    writeSummaryRow(t.p("00s.csv"), "\"File\"", "\"c\"", true);
    EXPECT_EQ(slurp(t.p("00s.csv")), "\"File\"\r\n\"c\"\r\n");
    // A table that cannot be written is reported and nothing is left behind.
    EXPECT_THROW(writeResultsTable(t.p("no/such/dir/r.csv"), {"x"}), Error);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.dir), std::filesystem::directory_iterator()), 2);
}
