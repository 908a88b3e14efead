#include "csvview/slopeanalysis.h"

#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik::csvview;

namespace {

const double kPi = std::acos(-1.0);
double deg(double rad) { return rad * 180 / kPi; }

// Bearing of the downhill direction of gradient (gx, gy): clockwise from +y.
double downhillBearing(double gx, double gy) {
    double b = deg(std::atan2(-gx, -gy));
    return b < 0 ? b + 360 : b;
}

SlopeOptions aspectOptions() {
    SlopeOptions o;
    o.choice = SlopeChoice::Aspect;
    slopeFlags(o.choice, o);
    return o;
}

} // namespace

TEST(SlopeAnalysis, TiltedPlanesHaveOneSlopeAndOneOrientation) {
    // z = a x + b y; the bearing of the downhill direction (-a, -b), clockwise from north
    struct Plane {
        double a, b, bearing;
    };
    const double t30 = std::tan(kPi / 6);
    for (Plane pl : {Plane{0.3, -0.7, 336.80140948635181}, Plane{-1.2, 0.4, 108.43494882292201}, Plane{2.0, 0.0, 270},
                     Plane{0.0, -0.5, 0}, Plane{-0.25, -0.25, 45}, Plane{-t30, 0, 90}, Plane{0, t30, 180}}) {
        const double h = 0.05;
        const auto g = csvtest::makeGrid(9, 7, h, 1.0, 2.0, [&](double x, double y) { return pl.a * x + pl.b * y; });
        const SlopeGrids s = computeSlopeGrids(g, h, h, aspectOptions());
        const double grad = std::sqrt(pl.a * pl.a + pl.b * pl.b);
        for (int r = 1; r <= 7; ++r)
            for (int c = 1; c <= 9; ++c) {
                const bool border = r == 1 || r == 7 || c == 1 || c == 9;
                if (border) {
                    EXPECT_EQ(s.slope.z(c, r), kVoidHeight);
                    EXPECT_EQ(s.orient.z(c, r), kVoidHeight);
                    continue;
                }
                EXPECT_NEAR(s.slope.z(c, r), grad, 1e-9);
                EXPECT_NEAR(s.slopeDeg.z(c, r), deg(std::atan(grad)), 1e-9);
                EXPECT_NEAR(s.orient.z(c, r), pl.bearing, 1e-9) << pl.a << "," << pl.b;
                const bool inner = r > 2 && r < 6 && c > 2 && c < 8;
                if (inner) EXPECT_NEAR(s.angularity.z(c, r), 0, 1e-6);
                else EXPECT_EQ(s.angularity.z(c, r), kVoidHeight);
                EXPECT_DOUBLE_EQ(s.slope.at(c, r).x, g.at(c, r).x);
            }
        // Aspect mode: processed grid is the orientation grid, shade grid the slope grid.
        EXPECT_EQ(s.processed.cells[s.processed.index(4, 4)].z, s.orient.z(4, 4));
        EXPECT_EQ(s.shadeSlope.z(4, 4), s.slope.z(4, 4));
    }
}

TEST(SlopeAnalysis, CellsThatAreNotSquareUseTheirOwnYStep) {
    // z = 0.3 x - 0.7 y on a lattice of 0.05 in x and 0.1 in y: each row is 0.1 apart.
    const double hx = 0.05, hy = 0.1, a = 0.3, b = -0.7;
    auto g = csvtest::makeGrid(9, 7, hx, 0, 0, [](double, double) { return 0.0; });
    for (int r = 1; r <= 7; ++r)
        for (int c = 1; c <= 9; ++c) {
            auto& cell = g.at(c, r);
            cell.y = (r - 1) * hy;
            cell.z = a * cell.x + b * cell.y;
        }
    const SlopeGrids s = computeSlopeGrids(g, hx, hy, aspectOptions());
    EXPECT_NEAR(s.slope.z(5, 4), std::sqrt(a * a + b * b), 1e-9);
    EXPECT_NEAR(s.orient.z(5, 4), 336.80140948635181, 1e-9);
}

TEST(SlopeAnalysis, FlatCellsAndMinimumSlope) {
    const double t30 = std::tan(kPi / 6);
    const auto flat = csvtest::makeGrid(5, 5, 1, 0, 0, [](double, double) { return 3.0; });
    SlopeOptions o = aspectOptions();
    EXPECT_EQ(computeSlopeGrids(flat, 1, 1, o).orient.z(3, 3), kVoidHeight);
    o.useMinSlope = true;
    o.minSlope = 10;
    EXPECT_EQ(computeSlopeGrids(flat, 1, 1, o).orient.z(3, 3), -1);
    // A 30-degree cell keeps its orientation under a minimum of 29, not under 30.5.
    const auto tilted = csvtest::makeGrid(5, 5, 1, 0, 0, [&](double x, double) { return -t30 * x; });
    o.minSlope = 29;
    EXPECT_DOUBLE_EQ(computeSlopeGrids(tilted, 1, 1, o).orient.z(3, 3), 90);
    o.minSlope = 30.5;
    EXPECT_EQ(computeSlopeGrids(tilted, 1, 1, o).orient.z(3, 3), -1);
}

TEST(SlopeAnalysis, ConeFacesOutwardInEightSectors) {
    const int n = 41;  // apex at (21, 21)
    const auto g = csvtest::makeGrid(n, n, 1, -20, -20, [](double x, double y) { return -std::hypot(x, y); });
    const SlopeGrids s = computeSlopeGrids(g, 1, 1, aspectOptions());
    auto sector = [](double o) { return static_cast<int>(std::floor(std::fmod(o + 22.5, 360.0) / 45.0)); };
    long counts[8] = {0};
    for (int r = 2; r < n; ++r)
        for (int c = 2; c < n; ++c) {
            const double x = g.at(c, r).x, y = g.at(c, r).y;
            const double rad = std::hypot(x, y);
            if (rad == 0 || rad > 18) continue;  // a disc, so the square's corners do not weigh in
            const double o = s.orient.z(c, r);
            const double truth = downhillBearing(-x, -y);  // outward from the apex
            if (rad >= 4) {
                double d = std::fabs(o - truth);
                EXPECT_LT(std::min(d, 360 - d), 3.0) << x << "," << y;
            }
            const double off = std::fmod(truth + 22.5, 45.0);
            if (off > 2 && off < 43) EXPECT_EQ(sector(o), sector(truth)) << x << "," << y;
            ++counts[sector(o)];
        }
    // The square lattice maps the four axis sectors onto each other, and the four diagonal ones.
    for (int k = 2; k < 8; ++k) EXPECT_EQ(counts[k], counts[k % 2]) << "sector " << k;
    EXPECT_GT(counts[0], 100);
    EXPECT_GT(counts[1], 100);
}

TEST(SlopeAnalysis, ParaboloidSlopeFollowsItsDerivative) {
    const double c0 = 0.8, h = 0.1;
    const auto g = csvtest::makeGrid(31, 31, h, -1.5, -1.5, [&](double x, double y) { return -c0 * (x * x + y * y); });
    const SlopeGrids s = computeSlopeGrids(g, h, h, aspectOptions());
    for (int r = 2; r < 31; ++r)
        for (int c = 2; c < 31; ++c) {
            const double rad = std::hypot(g.at(c, r).x, g.at(c, r).y);
            EXPECT_NEAR(s.slope.z(c, r), 2 * c0 * rad, 1e-9);
        }
    // Along a ray the slope angle grows with the radius.
    for (int c = 17; c < 30; ++c) EXPECT_GT(s.slopeDeg.z(c + 1, 16), s.slopeDeg.z(c, 16));
}

TEST(SlopeAnalysis, EmptyCellsSmallGridsAndProcessedChoice) {
    // 3 x 3: only the centre is analysed; its angularity has border neighbours.
    const auto small = csvtest::makeGrid(3, 3, 1, 0, 0, [](double x, double) { return x; });
    SlopeOptions o;
    const SlopeGrids s3 = computeSlopeGrids(small, 1, 1, o);
    EXPECT_NEAR(s3.slope.z(2, 2), 1, 1e-12);
    EXPECT_EQ(s3.angularity.z(2, 2), kVoidHeight);
    EXPECT_EQ(s3.processed.z(2, 2), s3.slope.z(2, 2));  // Slope mode shows the gradient
    EXPECT_EQ(s3.shadeSlope.z(2, 2), 0);

    const auto two = csvtest::makeGrid(2, 5, 1, 0, 0, [](double x, double) { return x; });
    const SlopeGrids s2 = computeSlopeGrids(two, 1, 1, o);
    for (const auto& c : s2.slope.cells) EXPECT_EQ(c.z, kVoidHeight);

    // An empty cell at (5, 5): its neighbours have no slope, the next ring no angularity,
    // and the empty cell itself, with eight valid neighbours, is analysed.
    auto g = csvtest::makeGrid(9, 9, 1, 0, 0, [](double x, double y) { return 0.5 * x + 0.2 * y; });
    g.z(2, 5) = kVoidHeight;
    o.choice = SlopeChoice::Angular;
    slopeFlags(o.choice, o);
    const SlopeGrids s = computeSlopeGrids(g, 1, 1, o);
    EXPECT_EQ(s.slope.z(3, 5), kVoidHeight);
    EXPECT_EQ(s.slope.z(3, 6), kVoidHeight);
    EXPECT_NE(s.slope.z(4, 5), kVoidHeight);
    EXPECT_EQ(s.angularity.z(4, 5), kVoidHeight);
    EXPECT_NEAR(s.angularity.z(6, 5), 0, 1e-9);
    EXPECT_EQ(s.processed.z(6, 5), s.angularity.z(6, 5));
    g.z(2, 5) = 0.5 * g.at(2, 5).x + 0.2 * g.at(2, 5).y;
    g.z(5, 5) = kVoidHeight;
    const SlopeGrids sv = computeSlopeGrids(g, 1, 1, o);
    EXPECT_NEAR(sv.slope.z(5, 5), std::hypot(0.5, 0.2), 1e-12);
}
