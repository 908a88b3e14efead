// Rake-angle fits on profiles worked by hand: a 45-degree profile, point counts at
// each threshold (never past the profile's end nor below 3), short profiles, blank
// heights, the rake line's direction and the passes the boxes ask for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/grid.h"
#include "toothfeatures/rakefit.h"

using namespace trelvik;
using namespace trelvik::toothfeatures;
using ::testing::HasSubstr;

namespace {
RakePass pass(double I, double S) {
    RakePass p;
    p.interval = I;
    p.steps = S;
    p.letter = 'm';
    return p;
}
std::vector<double> ramp(int n, double step = 1) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(i * step);
    return v;
}
} // namespace

TEST(RakeFit, FortyFiveDegreeProfileGivesSlopeMinusOne) {
    const auto D = ramp(5);
    const auto all = rakeRows(D, D, pass(2, 2));     // C = 0, 1.41, 2.83, 4.24, 5.66: T = 2, 4
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].points, 4);  // the first point beyond 4 is the fourth (4.24)
    EXPECT_DOUBLE_EQ(all[1].sXZ, 5);  // D = Z = 0..3: 14 - 36 / 4
    EXPECT_DOUBLE_EQ(all[1].sXX, 5);
    EXPECT_DOUBLE_EQ(all[1].sZZ, 5);
    EXPECT_DOUBLE_EQ(all[1].slope, -1);
    EXPECT_NEAR(all[1].rakeAngle, -45, 1e-12);
    EXPECT_DOUBLE_EQ(all[1].aveX, 1.5);
    EXPECT_DOUBLE_EQ(all[1].intercept, 3);  // Ave_Z - Ave_X * Slope, as stored tables hold it
    EXPECT_NEAR(all[1].actualLength, 3 * std::sqrt(2.0), 1e-12);
}

TEST(RakeFit, PointCountsStayWithinTheProfile) {
    const auto D = ramp(10);
    const std::vector<double> Z(10, 0.0);  // flat: C = D
    const auto rows = rakeRows(D, Z, pass(1, 3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].points, 3);
    EXPECT_EQ(rows[1].points, 4);
    EXPECT_EQ(rows[2].points, 5);
    EXPECT_DOUBLE_EQ(rows[2].actualLength, 4);
    EXPECT_DOUBLE_EQ(rows[2].threshold, 3);
    // Shorter than S x I: K = Int(9 / 1) = 9 rows; the last reaches the profile's end.
    const auto longer = rakeRows(D, Z, pass(1, 20));
    ASSERT_EQ(longer.size(), 9u);
    EXPECT_EQ(longer.back().points, 10);
    EXPECT_DOUBLE_EQ(longer.back().actualLength, 9);
    // A threshold below the second point still fits three points.
    EXPECT_EQ(rakeRows(D, Z, pass(0.25, 2))[0].points, 3);
}

TEST(RakeFit, ProfileStopsAtTheFirstBlankHeight) {
    auto D = ramp(8);
    std::vector<double> Z = {0, 1, 2, 3, kBlank, 5, 6, 7};
    const auto rows = rakeRows(D, Z, pass(1, 10));
    ASSERT_EQ(rows.size(), 4u);  // profile 0..3, length 3 sqrt 2 = 4.24
    EXPECT_EQ(rows.back().points, 4);
    Z[2] = kBlank;
    EXPECT_THROW(rakeRows(D, Z, pass(1, 10)), Error);  // two points left
    Z[1] = kBlank;
    try {
        rakeRows(D, Z, pass(1, 10));
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), ::testing::StartsWith("The rake profile holds 1 point with a height; a rake line"));
    }
}

TEST(RakeFit, AProfileShorterThanOneIntervalIsReportedNotTabledEmpty) {
    const auto D = ramp(5);
    EXPECT_THROW(rakeRows(D, D, pass(10, 1)), Error);  // 4 sqrt 2 long: Int(5.66 / 10) = 0 rows
    // Every point at one distance and height: the profile has no length at all.
    try {
        rakeRows(std::vector<double>(6, 3.0), std::vector<double>(6, 1.0), pass(0.05, 20));
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("less than one rake interval"));
    }
}

TEST(RakeFit, LineLeavesTheCrestAtRightAnglesOnTheRakeSide) {
    auto E = rakeLineEnd({0, 0}, {0, 10}, {5, 3}, 1);
    EXPECT_DOUBLE_EQ(E.x, 2);
    EXPECT_DOUBLE_EQ(E.y, 0);
    E = rakeLineEnd({0, 0}, {0, 10}, {-5, 3}, 1.5);
    EXPECT_DOUBLE_EQ(E.x, -3);
    EXPECT_NEAR(E.y, 0, 1e-15);
    E = rakeLineEnd({1, 1}, {4, 5}, {10, -10}, 2.5);  // d = (3, 4): the side (4, -3)
    EXPECT_DOUBLE_EQ(E.x, 1 + 5 * 0.8);
    EXPECT_DOUBLE_EQ(E.y, 1 - 5 * 0.6);
    EXPECT_THROW(rakeLineEnd({2, 2}, {2, 2}, {5, 3}, 1), Error);
}

TEST(RakeFit, PassesFollowTheBoxesAndRefuseBadOnes) {
    const auto both = rakePasses(RakeKind::Both, RakeBoxes{});
    ASSERT_EQ(both.size(), 2u);
    EXPECT_DOUBLE_EQ(both[0].interval, 0.05);
    EXPECT_DOUBLE_EQ(both[0].steps, 20);
    EXPECT_NEAR(both[0].length(), 1, 1e-12);
    EXPECT_EQ(rakeTag("prpac", "_1", both[0]), "prpac_1-f1");
    EXPECT_DOUBLE_EQ(both[1].length(), 5);
    EXPECT_EQ(rakeTag("prpac", "", both[1]), "prpac-m0.25");
    EXPECT_EQ(rakePasses(RakeKind::Fraction, RakeBoxes{}).size(), 1u);
    EXPECT_EQ(rakePasses(RakeKind::Multiple, RakeBoxes{})[0].letter, 'm');

    struct Bad {
        RakeBoxes boxes;
        const char* says;
    };
    for (const Bad& b : {Bad{{"x", "0.05", "0.25", "20"}, "Fraction length"},
                         Bad{{"1", "0", "0.25", "20"}, "Fraction factor"},
                         Bad{{"0", "0.05", "0.25", "20"}, "Fraction interval"},
                         Bad{{"1", "0.05", "-1", "20"}, "Multiple interval"},
                         Bad{{"1", "0.05", "0.25", ""}, "Multiple factor"},
                         // One row per step: billions of rows, or none, are refused.
                         Bad{{"1", "0.05", "1e-9", "1e12"}, "Multiple number of steps"},
                         Bad{{"1e12", "1e-12", "0.25", "20"}, "Fraction factor"},
                         Bad{{"1", "4", "0.25", "20"}, "Fraction factor"}}) {
        try {
            rakePasses(RakeKind::Both, b.boxes);
            ADD_FAILURE() << b.says;
        } catch (const Error& e) {
            EXPECT_THAT(e.what(), HasSubstr(b.says));
        }
    }
    const auto lines = rakeTableLines(rakeRows(ramp(5), ramp(5), pass(2, 2)));
    EXPECT_EQ(lines[0], "\"Threshold_rake_length\",\"Actual_rake_length\",\"No_rake_pts\",\"Slope\",\"Rake_angle\","
                        "\"Intercept\",\"S_XZ\",\"S_XX\",\"S_ZZ\",\"Ave_X\",\"Ave_Z\"");
    EXPECT_EQ(lines[2].substr(0, 6), "4,4.24");
}
