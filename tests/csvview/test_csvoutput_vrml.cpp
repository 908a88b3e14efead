// The viewer's VRML files from the current grid and from a tooth, read back by the
// VRML reader.
#include "core/error.h"
#include "csvview/csvoutputvrml.h"
#include "formats/vrml.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

using namespace trelvik::csvview;

namespace {

CurrentGrid gridWithStep(double step, const std::string& folder) {
    CurrentGrid g;
    static_cast<LatticeGrid&>(g) = csvtest::makeGrid(4, 3, step, 1, 2, [](double x, double y) { return x + 10 * y; });
    g.nx = 4;
    g.ny = 3;
    g.xstep = g.ystep = step;
    g.zmin = 1e9;
    g.zmax = -1e9;
    for (const auto& c : g.cells) g.zmin = std::min(g.zmin, c.z), g.zmax = std::max(g.zmax, c.z);
    g.folder = folder;
    return g;
}

} // namespace

TEST(ViewerVrml, TempFileValuesAndHeightOrder) {
    csvtest::TempDir tmp;
    CurrentGrid g = gridWithStep(0.03, tmp.folder());
    g.z(2, 1) = kVoidHeight;
    const std::string path = WriteTempWrl(g);
    EXPECT_EQ(path, tmp.folder() + "temp.wrl");
    const std::string text = csvtest::readText(path);
    EXPECT_NE(text.find("   scale 10 10 10\r\n"), std::string::npos);
    EXPECT_NE(text.find("            xSpacing 0.03\r\n"), std::string::npos);

    const auto s = trelvik::formats::readVrmlSurface(path);
    EXPECT_EQ(s.scale, 10);
    EXPECT_NEAR(s.px, 10 * 0.03 * 3 / 2 + 80, 1e-9);  // 80 beyond the middle of the scaled grid
    EXPECT_NEAR(s.pz, 10 * 0.03 * 2 / 2 + 80, 1e-9);
    EXPECT_NEAR(s.py, 10 * (g.zmax + 8), 1e-3);
    ASSERT_EQ(s.xDimension, 4);
    ASSERT_EQ(s.zDimension, 3);
    // Row 1 first, from its last column to its first; the void written as zmin.
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) {
            const double want = isVoid(g.z(c, r)) ? g.zmin : g.z(c, r);
            EXPECT_NEAR(s.heights[(r - 1) * 4 + (4 - c)], want, 1e-12) << c << "," << r;
        }
    EXPECT_EQ(tempWrlContent(gridWithStep(2.5, "")).scale, "0.01");
    EXPECT_THROW(WriteTempWrl(gridWithStep(1, "")), trelvik::Error);
}

TEST(ViewerVrml, ToothFileKeepsVoidsAndLeavesTheGridStepsAlone) {
    csvtest::TempDir tmp;
    CurrentGrid shown = gridWithStep(0.05, tmp.folder());
    LatticeGrid tooth = csvtest::makeGrid(3, 2, 1, 1, 1, [](double x, double) { return x; });
    tooth.z(3, 2) = kVoidHeight;
    tooth.zmin = 0;
    tooth.zmax = 2;
    const std::string path = WriteToothWrl({4, &tooth, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}, tmp.folder());
    EXPECT_EQ(path, tmp.folder() + "P0_0_0_0_0_0_0_0_0_0_00.wrl");
    const std::string text = csvtest::readText(path);
    EXPECT_NE(text.find("# VRML of " + path + "\r\n"), std::string::npos);
    const auto s = trelvik::formats::readVrmlSurface(path);
    EXPECT_EQ(s.heights[3], kVoidHeight);  // row 2 starts with column 3
    EXPECT_EQ(s.px, 1);
    EXPECT_EQ(s.py, 5);
    EXPECT_EQ(s.pz, 0.5);
    EXPECT_EQ(shown.xstep, 0.05);  // writing a tooth never touches the shown grid
    LatticeGrid none;
    EXPECT_EQ(WriteToothWrl({5, &none, {}}, tmp.folder()), "");
}
