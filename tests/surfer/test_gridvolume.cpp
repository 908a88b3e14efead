// GridVolume against analytic surfaces, and the version-6 report sheet against the
// version-8 result array.
#include "core/error.h"
#include "core/textform.h"
#include "surfer/gridvolume.h"
#include "surfertest.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace surfertest;
using surfer::Named;
using surfer::Positional;
using surfer::omitted;
using trelvik::text::Val;

TEST(GridVolume, TiltedPlaneAboveZeroAndPlaneCrossingZero) {
    trelvik::testing::TempFolder dir;
    // z = 1 + 0.5x + 0.25y over 4 x 2: volume = area x mean height = 8 x 2.25.
    const auto tilted = saveGrid(dir, "t.grd", makeGrid(9, 5, 0, 4, 0, 2, [](double x, double y) { return 1 + 0.5 * x + 0.25 * y; }));
    auto app = v8();
    surfer::ResultArray r(12);
    app->call("GridVolume", Named{{"Upper", tilted}, {"Lower", 0}, {"pResults", r}, {"ShowReport", false}});
    ASSERT_EQ(r.size(), 12u);
    EXPECT_NEAR(r[1], 18, 1e-12);
    EXPECT_NEAR(r[3], 18, 1e-12);
    EXPECT_NEAR(r[4], 0, 1e-12);
    EXPECT_NEAR(r[5], 8, 1e-12);
    EXPECT_NEAR(r[6], 0, 1e-12);
    EXPECT_NEAR(r[7], 8 * std::sqrt(1 + 0.25 + 0.0625), 1e-12);
    EXPECT_NEAR(r[9], 0, 1e-12);
    EXPECT_NEAR(r[10], 8, 1e-12);
    EXPECT_TRUE(app->currentReport().empty());

    // z = x - 1 over 4 x 2 on a lattice whose cells the zero line cuts (spacing 4/13):
    // positive volume 9 over area 6, negative volume 1 over area 2, slope factor sqrt 2.
    const Grid crossing = makeGrid(14, 7, 0, 4, 0, 2, [](double x, double) { return x - 1; });
    const surfer::VolumeResult v = surfer::computeVolume(crossing, nullptr, 0);
    EXPECT_NEAR(v.positiveVolume, 9, 1e-12);
    EXPECT_NEAR(v.negativeVolume, 1, 1e-12);
    EXPECT_NEAR(v.netVolume(), 8, 1e-12);
    EXPECT_NEAR(v.trapezoidal, 8, 1e-12);
    EXPECT_NEAR(v.positivePlanar, 6, 1e-12);
    EXPECT_NEAR(v.negativePlanar, 2, 1e-12);
    EXPECT_NEAR(v.positiveSurface, 6 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(v.negativeSurface, 2 * std::sqrt(2.0), 1e-12);
    // The same surface over a lower plane z = 1 - x + 1 moves the zero line to x = 1.5.
    const Grid lower = makeGrid(14, 7, 0, 4, 0, 2, [](double x, double) { return 2 - x; });
    const surfer::VolumeResult w = surfer::computeVolume(crossing, &lower, 0);
    // d = 2x - 3: positive over [1.5, 4] x 2 with volume 2 x 2.5^2, negative 2 x 1.5^2.
    EXPECT_NEAR(w.positiveVolume, 12.5, 1e-11);
    EXPECT_NEAR(w.negativeVolume, 4.5, 1e-11);
    EXPECT_NEAR(w.positivePlanar, 5, 1e-12);
}

TEST(GridVolume, MirroredSurfaceMeasuresTheSameAndWhollyAboveMatchesTheTrapezoidalTotal) {
    // A curved surface with a twist, partly below z = 1: turning it over in x or y (as
    // the mirror tools do) must not change a volume or area, and where the whole surface
    // lies above the lower level the positive volume is the trapezoidal total.
    auto f = [](double x, double y) { return 1 + 0.8 * std::sin(1.3 * x + 0.4) * std::cos(0.9 * y) + 0.2 * x * x * y; };
    const Grid g = makeGrid(13, 9, 0, 3, 0, 2, f);
    Grid mx = g, my = g;
    for (int j = 0; j < g.rows; ++j)
        for (int i = 0; i < g.cols; ++i) {
            mx.at(i, j) = g.at(g.cols - 1 - i, j);
            my.at(i, j) = g.at(i, g.rows - 1 - j);
        }
    for (double level : {1.0, -5.0}) {
        const auto a = surfer::volumeResultArray(surfer::computeVolume(g, nullptr, level));
        for (const Grid* m : {&mx, &my}) {
            const auto b = surfer::volumeResultArray(surfer::computeVolume(*m, nullptr, level));
            for (int k = 1; k <= 10; ++k) EXPECT_NEAR(a[k], b[k], 1e-12 * (1 + std::fabs(a[k]))) << "element " << k << " level " << level;
        }
        if (level < 0) EXPECT_NEAR(a[3], a[1], 1e-12 * a[1]);
    }
}

TEST(GridVolume, BlankedSquareCountsItsCellsAsBlankedArea) {
    // Nodes 3..6 blank in x and y: the cells touching them, 5 x 5 of unit area, are blanked.
    Grid g = makeGrid(11, 11, 0, 10, 0, 10, [](double, double) { return 2.0; });
    for (int j = 3; j <= 6; ++j)
        for (int i = 3; i <= 6; ++i) g.at(i, j) = trelvik::kBlank;
    const surfer::VolumeResult v = surfer::computeVolume(g, nullptr, 1.0);
    EXPECT_DOUBLE_EQ(v.blankedPlanar, 25);
    EXPECT_DOUBLE_EQ(v.positivePlanar, 75);
    EXPECT_DOUBLE_EQ(v.positiveVolume, 75);
    EXPECT_DOUBLE_EQ(v.totalPlanar, 100);
    Grid other = makeGrid(10, 11, 0, 10, 0, 10, [](double, double) { return 0.0; });
    EXPECT_THROW(surfer::computeVolume(g, &other, 0), trelvik::Error);
}

TEST(GridVolume, Version6SheetRouteGivesTheVersion8Values) {
    trelvik::testing::TempFolder dir;
    auto bumpy = [](double x, double y) { return std::sin(x) * std::cos(y) + 0.3 * x; };
    Grid up = makeGrid(23, 17, -1, 3.4, 0.5, 2.9, bumpy);
    up.at(4, 5) = trelvik::kBlank;
    const auto upper = saveGrid(dir, "up.grd", up);
    const auto lower = saveGrid(dir, "low.grd", makeGrid(23, 17, -1, 3.4, 0.5, 2.9, [](double x, double y) { return 0.1 * x - 0.2 * y + 0.4; }));
    const auto sheetPath = dir.path("volume.dat");

    auto app8 = v8();
    surfer::ResultArray lvl(12), grd(12);
    app8->call("GridVolume", Named{{"Upper", upper}, {"Lower", 0}, {"pResults", lvl}, {"ShowReport", false}});
    app8->call("GridVolume", Named{{"Upper", upper}, {"Lower", lower}, {"pResults", grd}});
    EXPECT_FALSE(app8->currentReport().empty());
    EXPECT_EQ(app8->Documents.Count(), 0);

    auto app6 = v6();
    // Geometry and the constant-level cells, as the report-sheet read-back issues them.
    app6->FileNew();
    app6->call("GridVolume", Positional{upper, omitted, omitted, 0});
    app6->FileSaveAs(sheetPath);
    app6->FileClose();
    auto sheet = app6->FileOpen(sheetPath, 1);
    auto cell = [&](long r, long c) { return Val(app6->GetWksCell(sheet, r, c)); };
    EXPECT_EQ(cell(4, 4), 23);
    EXPECT_EQ(cell(4, 7), 17);
    EXPECT_DOUBLE_EQ(cell(5, 2), up.xSpacing());
    EXPECT_DOUBLE_EQ(cell(6, 2), up.ySpacing());
    EXPECT_DOUBLE_EQ(cell(7, 1), -1);
    EXPECT_DOUBLE_EQ(cell(7, 3), 3.4);
    EXPECT_DOUBLE_EQ(cell(8, 1), 0.5);
    EXPECT_DOUBLE_EQ(cell(8, 3), 2.9);
    EXPECT_DOUBLE_EQ(cell(9, 1), up.zMin());
    EXPECT_DOUBLE_EQ(cell(9, 3), up.zMax());
    EXPECT_EQ(cell(27, 3), lvl[5]);  // positive planar area
    EXPECT_EQ(cell(34, 3), lvl[7]);  // positive surface area
    app6->FileClose();
    app6->FileClose();
    EXPECT_EQ(app6->Documents.Count(), 0);

    // Lower grid: the cusp-volume reads.
    app6->call("GridVolume", Positional{upper, omitted, lower});
    app6->FileSaveAs(sheetPath);
    app6->FileClose();
    sheet = app6->FileOpen(sheetPath, 1);
    EXPECT_EQ(cell(27, 3), grd[3]);  // volume
    EXPECT_EQ(cell(40, 3), grd[7]);  // positive surface area
    EXPECT_GT(grd[3], 0);
    app6->FileClose();
    EXPECT_EQ(app6->Documents.Count(), 0);
    EXPECT_THROW(app6->call("GridVolume", Positional{upper, 1.0}), trelvik::Error);
}
