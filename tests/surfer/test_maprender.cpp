// Map drawing checked on analytic surfaces: a tilted plane shades evenly, a cone's
// contours are circles, a plane seen from above fills its frame.
#include "surfer/maprender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

using surfer::RgbImage;
using trelvik::Grid;

namespace {
Grid plane(int cols, int rows, double a, double b, double c = 0) {
    Grid g(cols, rows, 0, cols - 1.0, 0, rows - 1.0, 0);
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k) g.at(k, r) = c + a * g.x(k) + b * g.y(r);
    return g;
}

// Cone of height 10 at (20, 20), slope 0.5.
Grid cone() {
    Grid g(41, 41, 0, 40, 0, 40, 0);
    for (int r = 0; r < 41; ++r)
        for (int k = 0; k < 41; ++k) g.at(k, r) = 10 - 0.5 * std::hypot(g.x(k) - 20, g.y(r) - 20);
    return g;
}

int grey(std::uint32_t px) { return static_cast<int>(px & 0xFF); }
} // namespace

TEST(MapScales, NiceStepsAndRoundLevels) {
    EXPECT_DOUBLE_EQ(surfer::niceStep(0.3), 0.5);
    EXPECT_DOUBLE_EQ(surfer::niceStep(1.0), 1.0);
    EXPECT_DOUBLE_EQ(surfer::niceStep(1.01), 2.0);
    EXPECT_DOUBLE_EQ(surfer::niceStep(7), 10.0);
    EXPECT_DOUBLE_EQ(surfer::niceStep(0.0012), 0.002);
    // Heights 0.13 .. 1.07: step 0.1, levels 0.2 .. 1.0 written without binary noise.
    auto levels = surfer::contourLevels(0.13, 1.07, 10);
    ASSERT_EQ(levels.size(), 9u);
    EXPECT_EQ(levels.front(), 0.2);
    EXPECT_EQ(levels[2], 0.4);
    EXPECT_EQ(levels.back(), 1.0);
    EXPECT_TRUE(surfer::contourLevels(3, 3).empty());
    EXPECT_TRUE(surfer::contourLevels(0, INFINITY).empty());
}

TEST(ReliefShading, TiltedPlaneIsOneShadeMatchingLambert) {
    // z = 0.5 x: normal (-0.5, 0, 1)/|.|; light from the west (180 deg) at 45 deg up.
    Grid g = plane(30, 20, 0.5, 0);
    RgbImage img = surfer::renderRelief(g, 90, 60, 180, 45);
    const double expected = (0.5 * std::cos(std::numbers::pi / 4) + std::sin(std::numbers::pi / 4)) /
                            std::sqrt(1.25);
    std::set<std::uint32_t> colours(img.pixels.begin(), img.pixels.end());
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_NEAR(grey(*colours.begin()), 255 * expected, 0.6);
    // Lit from straight above, a flat plane is white and a steeper one darker.
    EXPECT_EQ(grey(surfer::renderRelief(plane(5, 5, 0, 0), 4, 4, 0, 90).at(1, 1)), 255);
    EXPECT_LT(grey(surfer::renderRelief(plane(5, 5, 2, 0), 4, 4, 0, 90).at(1, 1)), 120);
}

TEST(ReliefShading, BlankCellsStayEmptyAndAllBlankDrawsNothing) {
    Grid g = plane(11, 11, 0, 0);
    g.at(10, 10) = trelvik::kBlank;  // top-right corner node
    RgbImage img = surfer::renderRelief(g, 100, 100, 135, 45);
    EXPECT_FALSE(img.drawn(99, 0));   // in the cell of the blank node
    EXPECT_TRUE(img.drawn(85, 15));   // the cell to the lower left
    EXPECT_TRUE(img.drawn(0, 99));
    Grid empty(5, 5, 0, 1, 0, 1);
    for (auto p : surfer::renderRelief(empty, 20, 20, 135, 45).pixels) ASSERT_EQ(p, 0u);
    for (auto p : surfer::renderColourImage(empty, 20, 20).pixels) ASSERT_EQ(p, 0u);
}

TEST(ColourImage, RampRunsFromLowToHighAcrossThePicture) {
    Grid g = plane(11, 3, 1, 0);  // rises along x
    RgbImage img = surfer::renderColourImage(g, 110, 10);
    // Low end blue, high end red.
    EXPECT_GT(img.at(0, 5) & 0xFF, (img.at(0, 5) >> 16) & 0xFF);
    EXPECT_GT((img.at(109, 5) >> 16) & 0xFF, img.at(109, 5) & 0xFF);
    // Image row 0 is the greatest y: a plane rising in y is red at the top.
    RgbImage up = surfer::renderColourImage(plane(3, 11, 0, 1), 10, 110);
    EXPECT_GT((up.at(5, 0) >> 16) & 0xFF, up.at(5, 0) & 0xFF);
}

TEST(Contours, ConeGivesConcentricCirclesAtRoundLevels) {
    Grid g = cone();
    auto levels = surfer::contourLevels(g.zMin(), g.zMax(), 10);
    auto traced = surfer::traceContours(g, levels);
    ASSERT_EQ(traced.size(), levels.size());
    int circles = 0;
    for (const auto& lv : traced) {
        const double radius = (10 - lv.level) / 0.5;
        if (radius < 2 || radius > 19) continue;  // away from the tip and the grid's edge
        ++circles;
        ASSERT_FALSE(lv.segments.empty());
        double angleCover = 0;
        for (const auto& s : lv.segments) {
            // Chords of the cone's bilinear cells lie within a fraction of a cell of the circle.
            EXPECT_NEAR(std::hypot(s.x0 - 20, s.y0 - 20), radius, 0.05) << lv.level;
            EXPECT_NEAR(std::hypot(s.x1 - 20, s.y1 - 20), radius, 0.05) << lv.level;
            double a = std::atan2(s.y1 - 20, s.x1 - 20) - std::atan2(s.y0 - 20, s.x0 - 20);
            if (a > std::numbers::pi) a -= 2 * std::numbers::pi;
            if (a < -std::numbers::pi) a += 2 * std::numbers::pi;
            angleCover += std::fabs(a);
        }
        EXPECT_NEAR(angleCover, 2 * std::numbers::pi, 1e-6) << "closed ring at " << lv.level;
    }
    EXPECT_EQ(circles, 4);  // levels -4 .. 10 by 2: radii 16, 12, 8 and 4
}

TEST(Contours, SaddleAndBlankCells) {
    // One cell, diagonal corners high: centre 0.5 is at the level, so the highs join.
    Grid g(2, 2, 0, 1, 0, 1, 0);
    g.at(0, 0) = 1;
    g.at(1, 1) = 1;
    auto t = surfer::traceContours(g, {0.5});
    ASSERT_EQ(t[0].segments.size(), 2u);
    for (const auto& s : t[0].segments) {
        // Each segment cuts off a low corner: (1,0) or (0,1).
        const double mx = (s.x0 + s.x1) / 2, my = (s.y0 + s.y1) / 2;
        EXPECT_TRUE((mx > 0.5 && my < 0.5) || (mx < 0.5 && my > 0.5)) << mx << "," << my;
    }
    g.at(1, 0) = trelvik::kBlank;
    EXPECT_TRUE(surfer::traceContours(g, {0.5})[0].segments.empty());
}

TEST(SurfaceView, PlaneFromAboveFillsTheFrame) {
    surfer::SurfaceView above;
    above.rotation = 0;
    above.tilt = 90;
    above.projection = surfer::Projection::Orthographic;
    above.lightAzimuth = 0;
    above.lightZenith = 90;
    above.zUnitsPerInch = above.xyUnitsPerInch = 1;
    RgbImage img = surfer::renderSurface(plane(41, 21, 0.1, 0.05, 3), 200, 100, above);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_TRUE(img.drawn(x, y)) << x << "," << y;
    // The low corner (x, y least) is bottom-left, rendered in the ramp's blue.
    EXPECT_GT(img.at(1, 98) & 0xFF, (img.at(1, 98) >> 16) & 0xFF);
    EXPECT_GT((img.at(198, 1) >> 16) & 0xFF, img.at(198, 1) & 0xFF);
}

TEST(SurfaceView, TiltedViewLeavesBackgroundAndProjectorAgrees) {
    surfer::SurfaceView v;  // default 45 rotation, 30 tilt, perspective
    Grid g = cone();
    RgbImage img = surfer::renderSurface(g, 160, 120, v);
    long drawn = 0;
    for (auto p : img.pixels) drawn += (p >> 24) != 0;
    EXPECT_GT(drawn, 160 * 120 / 5);
    EXPECT_LT(drawn, 160 * 120 * 9 / 10);
    surfer::SurfaceProjector proj(g, 160, 120, v);
    ASSERT_TRUE(proj.valid);
    double px, py;
    proj.project(20, 20, 10, px, py);  // the tip is drawn where the projector puts it
    EXPECT_TRUE(img.drawn(static_cast<int>(px), static_cast<int>(py) + 1));
    // The tip lies above the base centre on screen.
    double bx, by;
    proj.project(20, 20, 0, bx, by);
    EXPECT_LT(py, by);
    Grid allBlank(5, 5, 0, 1, 0, 1);
    EXPECT_FALSE(surfer::SurfaceProjector(allBlank, 10, 10, v).valid);
    for (auto p : surfer::renderSurface(allBlank, 10, 10, v).pixels) ASSERT_EQ(p, 0u);
}
