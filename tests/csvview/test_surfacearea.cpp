#include "csvview/surfacearea.h"

#include "core/error.h"

#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace trelvik::csvview;
using csvtest::readText;

TEST(SurfaceArea, TiltedPlaneReliefIndex) {
    for (double a : {0.0, 0.4, -1.3})
        for (double b : {0.0, 0.7, -2.1}) {
            const auto g = csvtest::makeGrid(12, 9, 0.25, 3, -1, [&](double x, double y) { return a * x + b * y + 10; });
            const SurfaceMeasures m = measureSurface(g, 0.25, 0.25, 0);
            EXPECT_NEAR(m.planarArea, 11 * 8 * 0.0625, 1e-12);
            ASSERT_TRUE(m.hasReliefIndex);
            EXPECT_NEAR(m.reliefIndex, std::sqrt(1 + a * a + b * b), 1e-9);
        }
}

TEST(SurfaceArea, FlatGridAreaAndVolumeByHand) {
    // 4 x 3 nodes, steps 1, heights 2 above zmin 1 everywhere but one row.
    auto g = csvtest::makeGrid(4, 3, 1, 0, 0, [](double, double y) { return y == 2 ? 1.0 : 3.0; });
    SurfaceMeasures m = measureSurface(g, 1, 1, 1);
    EXPECT_DOUBLE_EQ(m.planarArea, 6);
    // rows: h = 2,2,2,2 -> 2*4 - (2+2)/2 = 6 twice; last row h = 0.
    EXPECT_DOUBLE_EQ(m.volume, 12);
    const auto flat = csvtest::makeGrid(5, 4, 1, 0, 0, [](double, double) { return 0.0; });
    m = measureSurface(flat, 1, 1, 0);
    EXPECT_DOUBLE_EQ(m.surfaceArea, 12);
    EXPECT_DOUBLE_EQ(m.reliefIndex, 1);
    EXPECT_FALSE(m.hasSaVolRatio);  // no volume above the base
    EXPECT_EQ(surfaceTexts(m).saVolRatio, "-");
}

TEST(SurfaceArea, EmptyCornersAndSplitRows) {
    const double V = kVoidHeight;
    // dx = 2, dy = 0.5; one empty corner of one square.
    LatticeGrid g(3, 2);
    const double z[2][3] = {{1, 1, 1}, {1, 1, V}};
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c) g.at(c, r) = {2.0 * c, 0.5 * r, z[r - 1][c - 1]};
    SurfaceMeasures m = measureSurface(g, 2, 0.5, 0);
    EXPECT_DOUBLE_EQ(m.planarArea, 1 + 0.5);
    EXPECT_DOUBLE_EQ(m.surfaceArea, 1);
    // Volume: row 1 h = 1,1,1 -> 0.5 + 1 + 1 - 0.5 = 2; row 2 h = 1,1 -> 1; times dx*dy = 1.
    EXPECT_DOUBLE_EQ(m.volume, 3);

    // A row split by empty cells is one run; a single cell adds h / 2.
    LatticeGrid r(5, 2);
    const double zr[2][5] = {{2, V, 4, V, 6}, {V, V, 8, V, V}};
    for (int j = 1; j <= 2; ++j)
        for (int i = 1; i <= 5; ++i) r.at(i, j) = {double(i), double(j), zr[j - 1][i - 1]};
    m = measureSurface(r, 1, 1, 0);
    EXPECT_DOUBLE_EQ(m.volume, (1 + 4 + 6 - 3) + 4);
    EXPECT_DOUBLE_EQ(m.planarArea, 0);
    EXPECT_FALSE(m.hasReliefIndex);
}

TEST(SurfaceArea, HemisphereReliefIndexNearTwo) {
    // A dome standing on its base: the nodes of the first ring outside the rim sit at
    // height 0, so the steep wall at the rim is part of the sampled surface.
    const double R = 1, h = 0.002;
    const int n = static_cast<int>(std::lround(2.2 / h)) + 1;
    const auto g = csvtest::makeGrid(n, n, h, -1.1, -1.1, [&](double x, double y) {
        const double q = R * R - x * x - y * y;
        if (q >= 0) return std::sqrt(q);
        return std::hypot(x, y) < R + 1.5 * h ? 0.0 : kVoidHeight;
    });
    const SurfaceMeasures m = measureSurface(g, h, h, 0);
    EXPECT_NEAR(m.reliefIndex, 2, 0.04);
    EXPECT_NEAR(m.volume, 2.0 / 3.0 * std::acos(-1.0), 0.01 * 2.0 / 3.0 * std::acos(-1.0));
}

// A 2 x 2 lattice of unit spacing, flat at 0 but for one corner at height 1.
static LatticeGrid unitSquareOneCornerRaised() {
    LatticeGrid g(2, 2);
    g.at(1, 1) = {0, 0, 0};
    g.at(2, 1) = {1, 0, 0};
    g.at(1, 2) = {0, 1, 0};
    g.at(2, 2) = {1, 1, 1};
    return g;
}

TEST(SurfaceArea, ResultsFilesAndBatchSummary) {
    csvtest::TempDir t;
    // 2 x 2 square, dx = dy = 1, heights 0,0,0,1 above zmin 0: planar area 1,
    // volume: row1 0; row2 0/2 + 1 - 1/2 = 0.5. Surface area: triangles
    // T1 (0,0,0) flat 0.5; T2 right angle at z11: hx = -1, hy = -1 -> sqrt(3)/2;
    // T3 at z10: hx = 0, hy = 1 -> sqrt(2)/2; T4 at z01: hx = 1, hy = 0 -> sqrt(2)/2.
    const LatticeGrid g = unitSquareOneCornerRaised();
    RunContext ctx{t.folder(), "t1", false, false};
    const SurfaceMeasures m = CalcSAVolStats(g, 1, 1, 0, true, ctx);
    const double sa = (0.5 + std::sqrt(3) / 2 + std::sqrt(2)) / 2;
    EXPECT_NEAR(m.surfaceArea, sa, 1e-15);
    EXPECT_EQ(readText(t.path("savol/t1savolstats.csv")),
              "\"Info\",\"SurfaceArea\",\"PlanarArea\",\"ReliefIndex\",\"Volume\",\"SAVolRatio\"\r\n"
              "\"SAVol\",1.39011948307877,1,1.39011948307877,0.5,2.78023896615753\r\n");
    const SurfaceTexts tx = surfaceTexts(m);
    EXPECT_EQ(tx.sa, "1.39");
    EXPECT_EQ(tx.ri, "1.39");
    EXPECT_EQ(tx.saVolRatio, "2.78024");
    EXPECT_FALSE(std::filesystem::exists(t.path("savol/00savolstats.csv")));

    ctx.allFilesRunning = true;
    CalcSAVolStats(g, 1, 1, 0, true, ctx);
    ctx.allFilesStarted = true;
    ctx.baseName = "t2";
    CalcSAVolStats(g, 1, 1, 0, true, ctx);
    EXPECT_EQ(readText(t.path("savol/00savolstats.csv")),
              "\"File\",\"Info\",\"SurfaceArea\",\"PlanarArea\",\"ReliefIndex\",\"Volume\",\"SAVolRatio\"\r\n"
              "\"t1\",\"SAVol\",1.39011948307877,1,1.39011948307877,0.5,2.78023896615753\r\n"
              "\"t2\",\"SAVol\",1.39011948307877,1,1.39011948307877,0.5,2.78023896615753\r\n");

    csvtest::TempDir t2;
    RunContext ctx2{t2.folder(), "x", true, false};
    CalcSAVolStats(g, 1, 1, 0, false, ctx2);
    EXPECT_TRUE(std::filesystem::is_empty(t2.dir));
}

TEST(SurfaceArea, BatchTableGoesInPlaceWithItsSummaryRow) {
    csvtest::TempDir t;
    const LatticeGrid g = unitSquareOneCornerRaised();
    std::filesystem::create_directories(t.path("savol/00savolstats.csv"));  // the summary cannot be put in place
    csvtest::writeText(t.path("savol/t2savolstats.csv"), "the earlier table");
    EXPECT_THROW(CalcSAVolStats(g, 1, 1, 0, true, RunContext{t.folder(), "t2", true, true}), trelvik::Error);
    EXPECT_EQ(readText(t.path("savol/t2savolstats.csv")), "the earlier table");
}
