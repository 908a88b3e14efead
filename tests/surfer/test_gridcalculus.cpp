// Terrain slope and aspect against planes and a cone; directional curvature against a
// quadratic surface, for which central differences are exact.
#include "surfer/gridcalculus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

using trelvik::Grid;

namespace {

constexpr double kDeg = 180.0 / std::numbers::pi;

Grid sample(int cols, int rows, double x0, double x1, double y0, double y1,
            const std::function<double(double, double)>& f) {
    Grid g(cols, rows, x0, x1, y0, y1, 0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) g.at(c, r) = f(g.x(c), g.y(r));
    return g;
}

bool edge(const Grid& g, int c, int r) { return c == 0 || r == 0 || c == g.cols - 1 || r == g.rows - 1; }

} // namespace

TEST(GridCalculus, SlopeAndAspectOfPlanes) {
    struct Case {
        double a, b;      // z = a x + b y
        double aspect;    // downhill bearing clockwise from +y
    };
    const Case cases[] = {{1, 0, 270}, {-1, 0, 90}, {0, 1, 180}, {0, -2, 0}, {-1, -1, 45}, {0.5, -0.5, 315}};
    for (const auto& k : cases) {
        const Grid g = sample(7, 5, -3, 3, 10, 14, [&](double x, double y) { return k.a * x + k.b * y; });
        const Grid s = surfer::terrainSlope(g);
        const Grid a = surfer::terrainAspect(g, 0);
        const double slope = std::atan(std::hypot(k.a, k.b)) * kDeg;
        for (int r = 0; r < g.rows; ++r)
            for (int c = 0; c < g.cols; ++c) {
                if (edge(g, c, r)) {
                    EXPECT_TRUE(s.blank(c, r));
                    EXPECT_TRUE(a.blank(c, r));
                    continue;
                }
                EXPECT_NEAR(s.at(c, r), slope, 1e-9);
                EXPECT_NEAR(a.at(c, r), k.aspect, 1e-9) << k.a << "," << k.b;
            }
    }
    // Minimum slope: a 10 degree plane is blank with a 15 degree minimum, kept with 5.
    const double t = std::tan(10 / kDeg);
    const Grid g = sample(5, 5, 0, 4, 0, 4, [&](double x, double) { return t * x; });
    EXPECT_TRUE(surfer::terrainAspect(g, 15 / kDeg).blank(2, 2));
    EXPECT_NEAR(surfer::terrainAspect(g, 5 / kDeg).at(2, 2), 270, 1e-9);
    EXPECT_NEAR(surfer::terrainSlope(g).at(2, 2), 10, 1e-9);
    // A flat grid has no aspect even with no minimum.
    EXPECT_TRUE(surfer::terrainAspect(Grid(5, 5, 0, 4, 0, 4, 1.0), 0).blank(2, 2));
}

TEST(GridCalculus, ConeSlopeIsConstantAndAspectPointsAwayFromTip) {
    // z = 10 - 2 r: slope atan(2) everywhere but at the tip; downhill is straight outward.
    const Grid g = sample(81, 81, -4, 4, -4, 4, [](double x, double y) { return 10 - 2 * std::hypot(x, y); });
    const Grid s = surfer::terrainSlope(g);
    const Grid a = surfer::terrainAspect(g, 0);
    for (int r = 1; r < 80; ++r)
        for (int c = 1; c < 80; ++c) {
            const double x = g.x(c), y = g.y(r);
            if (std::hypot(x, y) < 1) continue;
            EXPECT_NEAR(s.at(c, r), std::atan(2) * kDeg, 0.5);
            double bearing = std::atan2(x, y) * kDeg;
            if (bearing < 0) bearing += 360;
            double diff = std::fabs(a.at(c, r) - bearing);
            diff = std::min(diff, 360 - diff);
            EXPECT_LT(diff, 0.5) << x << "," << y;
        }
}

TEST(GridCalculus, BlankNodesBlankTheirStencil) {
    Grid g = sample(7, 7, 0, 6, 0, 6, [](double x, double y) { return x + 2 * y; });
    g.at(3, 3) = trelvik::kBlank;
    const Grid s = surfer::terrainSlope(g);
    const Grid k = surfer::directionalCurvature(g, 30);
    EXPECT_TRUE(s.blank(3, 3));
    EXPECT_TRUE(s.blank(2, 3));
    EXPECT_TRUE(s.blank(3, 4));
    EXPECT_FALSE(s.blank(2, 2));  // diagonal: not in the slope stencil
    EXPECT_TRUE(k.blank(2, 2));   // but in the curvature block
    EXPECT_FALSE(k.blank(1, 1));
    EXPECT_NEAR(k.at(1, 1), 0, 1e-12);  // a plane does not bend
}

TEST(GridCalculus, DirectionalCurvatureOfAQuadraticSurface) {
    // z = a x^2 + b y^2 + c x y: central differences are exact, so the curvature along
    // angle t is (2a u^2 + 2c u v + 2b v^2) / (1 + (zx u + zy v)^2)^1.5, u = cos t, v = sin t.
    const double a = 0.5, b = -0.25, cc = 0.3;
    const Grid g = sample(21, 17, -2, 2, -1, 2.2, [&](double x, double y) { return a * x * x + b * y * y + cc * x * y; });
    for (double angle : {0.0, 30.0, 90.0, 135.0, 180.0, 250.0}) {
        const Grid k = surfer::directionalCurvature(g, angle);
        const double u = std::cos(angle / kDeg), v = std::sin(angle / kDeg);
        for (int r = 1; r < g.rows - 1; ++r)
            for (int c = 1; c < g.cols - 1; ++c) {
                const double x = g.x(c), y = g.y(r);
                const double d1 = (2 * a * x + cc * y) * u + (2 * b * y + cc * x) * v;
                const double d2 = 2 * a * u * u + 2 * cc * u * v + 2 * b * v * v;
                ASSERT_NEAR(k.at(c, r), d2 / std::pow(1 + d1 * d1, 1.5), 1e-9) << angle << " " << c << "," << r;
            }
    }
    // At the bottom of a bowl the curvature is 2a in every direction, and edges are blank.
    const Grid bowl = sample(9, 9, -1, 1, -1, 1, [](double x, double y) { return 0.5 * (x * x + y * y); });
    const Grid k = surfer::directionalCurvature(bowl, 45);
    EXPECT_NEAR(k.at(4, 4), 1, 1e-12);
    EXPECT_TRUE(k.blank(0, 4));
}
