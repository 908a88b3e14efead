// Approach angle of a crest on analytic profiles: a straight ridge of known slope, a
// parabola whose running means are known in closed form, a flat crest, the smallest
// crests the smoothing windows allow, and the results table's layout.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/error.h"
#include "toothfeatures/appang.h"

#include <cmath>
#include <functional>

using namespace trelvik;
using namespace trelvik::toothfeatures;

namespace {

constexpr double kDeg = 180 / 3.14159;  // the measure's own degree factor

// m points (i * step along a horizontal direction, height f(i)).
PointList crest(int m, const std::function<double(int)>& f, double dirX = 1, double dirY = 0) {
    PointList p;
    for (int i = 0; i < m; ++i) p.push_back({i * dirX, i * dirY, f(i)});
    return p;
}

int definedCount(const Series& s) {
    int n = 0;
    for (const auto& v : s) n += v.has_value();
    return n;
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == ',') out.emplace_back();
        else out.back().push_back(c);
    }
    return out;
}

} // namespace

TEST(ApproachAngle, StraightRidgeOfKnownSlopeGivesItsAngleEverywhere) {
    // Rising 0.5 per unit along a line at 3-4-5 in the x'-y' plane: steps of 5, rise 2.5.
    const double a = std::atan(0.5);
    const auto s = computeApproachAngle(crest(20, [](int i) { return 7 + 2.5 * i; }, 3, 4));
    for (int i = 1; i < 20; ++i) {
        EXPECT_DOUBLE_EQ(s.deltaXY[i], 5);
        EXPECT_DOUBLE_EQ(s.cumXY[i], 5.0 * i);
    }
    for (int i = 3; i <= 17; ++i) EXPECT_NEAR(*s.ZM5AngD[i], a * kDeg, 1e-9) << i;
    for (int i = 5; i <= 15; ++i) EXPECT_NEAR(*s.ZM9AngR[i], a, 1e-12) << i;
    EXPECT_NEAR(s.GrandMeanZ5, a * kDeg, 1e-9);
    EXPECT_NEAR(s.GrandMeanZ9, a * kDeg, 1e-9);
    // Five equal angles: (a + 1.5708) * 180 / 3.14159 - 90.
    EXPECT_NEAR(*s.ZM5MeanAngD[5], (a + 1.5708) * kDeg - 90, 1e-9);
    EXPECT_NEAR(*s.ZM9MeanAngD[7], (a + 1.5708) * kDeg - 90, 1e-9);
    EXPECT_FALSE(s.flat5 || s.flat9);

    // Digitised the other way round, every angle changes sign; the grand means do not.
    const auto r = computeApproachAngle(crest(20, [](int i) { return 7 + 2.5 * (19 - i); }, 3, 4));
    for (int i = 3; i <= 17; ++i) EXPECT_NEAR(*r.ZM5AngR[i], -a, 1e-12);
    EXPECT_NEAR(*r.ZM5MeanAngD[5], (-a + 1.5708) * kDeg - 90, 1e-9);
    EXPECT_NEAR(r.GrandMeanZ5, s.GrandMeanZ5, 1e-9);
}

TEST(ApproachAngle, ParabolaRunningMeansMatchTheirClosedForms) {
    // z = i^2: ZM5 = i^2 + 2, ZM9 = i^2 + 60/13, so both rise 2i - 1 from i - 1 to i.
    const auto s = computeApproachAngle(crest(16, [](int i) { return double(i) * i; }));
    for (int i = 2; i <= 13; ++i) EXPECT_NEAR(*s.ZM5[i], i * i + 2.0, 1e-9);
    for (int i = 4; i <= 11; ++i) EXPECT_NEAR(*s.ZM9[i], i * i + 60.0 / 13, 1e-9);
    for (int i = 5; i <= 11; ++i) EXPECT_NEAR(*s.ZM9AngR[i], std::atan(2.0 * i - 1), 1e-12);
    // Grand mean of angles 3..13 by its definition.
    double c = 0, sn = 0;
    for (int i = 3; i <= 13; ++i) {
        c += std::cos(std::atan(2.0 * i - 1)) / 11;
        sn += std::sin(std::atan(2.0 * i - 1)) / 11;
    }
    EXPECT_NEAR(s.GrandMeanZ5, std::acos(c / std::hypot(c, sn)) * kDeg, 1e-9);
}

TEST(ApproachAngle, SeriesRangesAndBlocksFollowTheCrestLength) {
    struct Case {
        int m;
        int zm5, zm5ang, zm5blocks, zm9, zm9ang, zm9blocks;
    };
    for (const Case& c : {Case{10, 6, 5, 1, 2, 1, 0}, Case{14, 10, 9, 1, 6, 5, 1}, Case{15, 11, 10, 2, 7, 6, 1}}) {
        const auto s = computeApproachAngle(crest(c.m, [](int i) { return std::sin(i * 0.7); }));
        EXPECT_EQ(definedCount(s.ZM5), c.zm5) << c.m;
        EXPECT_EQ(definedCount(s.ZM5AngR), c.zm5ang) << c.m;
        EXPECT_EQ(definedCount(s.ZM5MeanAngD), c.zm5blocks) << c.m;
        EXPECT_EQ(definedCount(s.ZM9), c.zm9) << c.m;
        EXPECT_EQ(definedCount(s.ZM9AngR), c.zm9ang) << c.m;
        EXPECT_EQ(definedCount(s.ZM9MeanAngD), c.zm9blocks) << c.m;
        EXPECT_TRUE(s.ZM5AngR[3].has_value() && !s.ZM5AngR[2].has_value());
        EXPECT_TRUE(s.ZM5MeanAngD[5].has_value());
    }
    // m = 10: the one 9-point angle is at point 5 and is the grand mean by itself.
    const auto s = computeApproachAngle(crest(10, [](int i) { return std::sin(i * 0.7); }));
    EXPECT_NEAR(s.GrandMeanZ9, std::fabs(*s.ZM9AngD[5]), 1e-9);
    // m = 15: the second 5-point block is points 8..12, stored at 10.
    const auto t = computeApproachAngle(crest(15, [](int i) { return std::sin(i * 0.7); }));
    double block[5];
    for (int j = 0; j < 5; ++j) block[j] = *t.ZM5AngR[8 + j];
    EXPECT_DOUBLE_EQ(*t.ZM5MeanAngD[10], blockMeanDegrees(block));
}

TEST(ApproachAngle, FlatCrestIsFlaggedWithZeroGrandMeans) {
    const auto s = computeApproachAngle(crest(12, [](int) { return 4.25; }));
    EXPECT_TRUE(s.flat5 && s.flat9);
    EXPECT_EQ(s.GrandMeanZ5, 0);
    EXPECT_EQ(s.GrandMeanZ9, 0);
    // The block mean of zero angles keeps the measure's small offset.
    EXPECT_NEAR(*s.ZM5MeanAngD[5], 1.5708 * kDeg - 90, 1e-12);
    EXPECT_GT(*s.ZM5MeanAngD[5], 0);
    EXPECT_LT(*s.ZM5MeanAngD[5], 3e-4);
}

TEST(ApproachAngle, CrestsTheFormulasCannotEvaluateAreRefused) {
    EXPECT_THROW(computeApproachAngle(crest(9, [](int i) { return i; })), Error);
    PointList p = crest(12, [](int i) { return i; });
    p[6].x = p[5].x;  // points 5 and 6 at one place across the occlusal vector
    try {
        computeApproachAngle(p);
        FAIL();
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("points 6 and 7"));
    }
    // A repeated point outside the angle range does no harm.
    PointList q = crest(12, [](int i) { return i; });
    q[1] = q[0];
    EXPECT_NO_THROW(computeApproachAngle(q));
}

TEST(ApproachAngle, TableHasFifteenFieldsInRowTwoAndThirteenAfter) {
    const auto s = computeApproachAngle(crest(11, [](int i) { return 0.5 * i; }));
    const auto lines = approachAngleTable(s);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], kApproachAngleHeader);
    EXPECT_EQ(split(lines[0]).size(), 15u);
    EXPECT_EQ(split(lines[1]).size(), 15u);
    for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(split(lines[i]).size(), 13u) << i;
    EXPECT_EQ(lines[1].substr(0, 14), "0,0,0,0,0,,,,,");
    EXPECT_EQ(lines[2], "1,0,0.5,1,1,,,,,,,,");
    const auto row5 = split(lines[6]);
    EXPECT_EQ(row5[0], "5");
    EXPECT_EQ(row5[5], "2.5");  // ZM5 at point 5
    EXPECT_FALSE(row5[8].empty());  // the first 5-point block mean
}
