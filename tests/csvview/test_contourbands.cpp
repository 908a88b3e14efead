#include "csvview/contourbands.h"

#include "test_csvhelpers.h"

#include <gtest/gtest.h>

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

LatticeGrid rowGrid(const std::vector<std::vector<double>>& z) {
    const int rows = static_cast<int>(z.size()), cols = static_cast<int>(z[0].size());
    LatticeGrid g(cols, rows);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) g.at(c, r) = {double(c), double(r), z[r - 1][c - 1]};
    return g;
}

} // namespace

TEST(ContourBands, XyIntervalBandsOnMultiplesOfTheStep) {
    const double V = kVoidHeight;
    const auto g = rowGrid({{0.07, 0.20, V, 0.12}});
    LatticeGrid bands;
    ScriptedPrompt p;
    ContourOptions o;  // "xy int x", factor 2
    ASSERT_TRUE(ContourBands(g, 0.03, 0.07, 0.20, o, bands, p));
    // base = Int(0.07 / 0.03) = 2; 0.20 -> Int((6 - 2) / 2) = 2; 0.12 -> Int((4 - 2) / 2) = 1
    EXPECT_EQ(bands.z(1, 1), 0);
    EXPECT_EQ(bands.z(2, 1), 2);
    EXPECT_EQ(bands.z(3, 1), V);
    EXPECT_EQ(bands.z(4, 1), 1);
    EXPECT_EQ(bands.at(4, 1).x, 4);  // the band grid keeps the node positions
    EXPECT_TRUE(p.shown.empty());

    o.factor = 0;
    EXPECT_FALSE(ContourBands(g, 0.03, 0.07, 0.20, o, bands, p));
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].text, "Value must be >0");
    EXPECT_FALSE(p.busyNow);
}

TEST(ContourBands, RangeBandsRoundHalvesToEvenAndFlatGridIsOneBand) {
    const double V = kVoidHeight;
    // K = 10 over 0..9: h = 1; 2.5 and 3.5 are halfway and go to 2 and 4.
    const auto g = rowGrid({{0, 9, 2.5, 3.5, V, 4.49}});
    LatticeGrid bands;
    ScriptedPrompt p;
    ContourOptions o;
    o.scaleByXyInterval = false;
    o.scaleByRange = true;
    ASSERT_TRUE(ContourBands(g, 1, 0, 9, o, bands, p));
    const double want[] = {0, 9, 2, 4, V, 4};
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(bands.z(c, 1), want[c - 1]) << c;

    o.bandCount = 1;
    EXPECT_FALSE(ContourBands(g, 1, 0, 9, o, bands, p));
    EXPECT_EQ(p.shown.back().text, "Value must be >1");

    o.bandCount = 10;
    const auto flat = rowGrid({{4, 4, V, 4}});
    ASSERT_TRUE(ContourBands(flat, 1, 4, 4, o, bands, p));
    EXPECT_EQ(bands.z(1, 1), 0);
    EXPECT_EQ(bands.z(4, 1), 0);
    EXPECT_EQ(bands.z(3, 1), V);
}

TEST(HeightDiversity, RunsAlongRows) {
    const double V = kVoidHeight;
    // Step 1, zmin 0: class = Int(z) + 1. Interior rows: (0.5, 0.7, 1.2) and (1.1, 1.9, 1.0):
    // runs 2, 1 and 3 -> D = 36 / (4 + 1 + 9).
    const auto g = rowGrid({{9, 9, 9, 9, 9},
                            {9, 0.5, 0.7, 1.2, 9},
                            {9, 1.1, 1.9, 1.0, 9},
                            {9, 9, 9, 9, 9}});
    const HeightDiversity d = ShannonHeight(g, 1, 0);
    ASSERT_TRUE(d.hasValue);
    EXPECT_EQ(d.runs, 3);
    EXPECT_EQ(d.counted, 6);
    EXPECT_NEAR(d.index, 36.0 / 14.0, 1e-12);
    EXPECT_EQ(d.processed.z(1, 2), V);
    EXPECT_EQ(d.processed.z(2, 2), 0);

    // An empty cell between two cells of one class does not split their run.
    const auto gap = rowGrid({{0, 0, 0, 0, 0}, {0, 3.2, V, 3.7, 0}, {0, 0, 0, 0, 0}});
    const HeightDiversity dg = ShannonHeight(gap, 1, 0);
    EXPECT_EQ(dg.runs, 1);
    EXPECT_EQ(dg.counted, 2);
    EXPECT_DOUBLE_EQ(dg.index, 1);

    // A flat grid whose interior has r rows gives r runs and diversity r.
    const auto flat = csvtest::makeGrid(8, 7, 0.5, 0, 0, [](double, double) { return 2.0; });
    const HeightDiversity df = ShannonHeight(flat, 0.5, 2.0);
    EXPECT_EQ(df.runs, 5);
    EXPECT_NEAR(df.index, 5, 1e-12);

    // Nothing to count.
    EXPECT_FALSE(ShannonHeight(rowGrid({{1, 2}, {3, 4}}), 1, 1).hasValue);
}
