// Capture area between a crest and its top plane, checked against trapezoids worked
// by hand, a crest lying in the plane, and a gap where the crest left the grid.
#include <gtest/gtest.h>

#include "toothfeatures/capturearea.h"

using namespace trelvik;
using namespace trelvik::toothfeatures;

TEST(CaptureArea, TrapezoidsUnderACrestAreSplitAlongTheirDiagonal) {
    // Heights 1, 1, 3 above the plane z' = 0, one unit apart.
    const PointList C = {{0, 0, 1}, {1, 0, 1}, {2, 0, 3}};
    const PointList Q = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
    const auto r = captureArea(C, Q, {false, false, false});
    ASSERT_EQ(r.segments.size(), 2u);
    EXPECT_DOUBLE_EQ(r.segments[0].area1, 0.5);
    EXPECT_DOUBLE_EQ(r.segments[0].area2, 0.5);
    EXPECT_DOUBLE_EQ(r.segments[1].area1, 0.5);  // triangle Q0' C1 C2 with base 1 at height 1
    EXPECT_DOUBLE_EQ(r.segments[1].area2, 1.5);  // triangle Q1 C2 Q2 with base 1, height 3
    EXPECT_DOUBLE_EQ(r.total, 3);
    const auto lines = captureResultsLines(r);
    EXPECT_EQ(lines, (std::vector<std::string>{"0.5,0.5", "0.5,1.5", "3"}));
}

TEST(CaptureArea, TiltedBandMatchesItsPlanarArea) {
    // A crest 2 above a tilted plane z = 0.5 x, in steps of (3, 4): each quadrilateral is a
    // parallelogram of sides 2 (vertical) and |(3, 4, 1.5)|... projected: area = 2 * 5.
    PointList C, Q;
    for (int i = 0; i < 6; ++i) {
        const double x = 3.0 * i, y = 4.0 * i, z = 0.5 * x;
        Q.push_back({x, y, z});
        C.push_back({x, y, z + 2});
    }
    const auto r = captureArea(C, Q, std::vector<bool>(6, false));
    EXPECT_NEAR(r.total, 5 * 2 * 5.0, 1e-12);
    double sum = 0;
    for (const auto& s : r.segments) sum += s.area1 + s.area2;
    EXPECT_DOUBLE_EQ(sum, r.total);
}

TEST(CaptureArea, CrestInThePlaneGivesZeroAndGapsAreLeftOut) {
    const PointList P = {{0, 0, 1}, {1, 1, 2}, {2, 0, 3}};
    const auto zero = captureArea(P, P, {false, false, false});
    EXPECT_EQ(zero.total, 0);
    EXPECT_EQ(captureResultsLines(zero), (std::vector<std::string>{"0,0", "0,0", "0"}));

    const PointList C = {{0, 0, 1}, {1, 0, 1}, {5, 0, 9}, {6, 0, 9}};
    const PointList Q = {{0, 0, 0}, {1, 0, 0}, {5, 0, 0}, {6, 0, 0}};
    const auto r = captureArea(C, Q, {false, false, true, false});
    ASSERT_EQ(r.segments.size(), 2u);
    EXPECT_DOUBLE_EQ(r.total, 1 + 9);
    // One point alone gives only the total.
    EXPECT_EQ(captureResultsLines(captureArea({{0, 0, 1}}, {{0, 0, 0}}, {false})), std::vector<std::string>{"0"});
}
