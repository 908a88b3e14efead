#include "toothfeatures/cuspor.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik::toothfeatures;

namespace {

// A profile along the x axis (y = 0) with points every 1 unit and heights z.
GrooveProfile lineProfile(const std::vector<double>& z)
{
    GrooveProfile p;
    for (size_t k = 0; k < z.size(); ++k) {
        p.ProfX.push_back(static_cast<double>(k));
        p.ProfY.push_back(0);
        p.ProfZ.push_back(z[k]);
        p.ProfDist.push_back(static_cast<double>(k));
    }
    return p;
}

} // namespace

TEST(CuspOR, EachPointTakesItsNearestProfilePointAtTheToleranceReached)
{
    GrooveProfile p = lineProfile({0, 0, 0, 0, 0});
    // Within 3.5 in y of the profile (not within 3): found at t = 4. By the larger of |dx|
    // and |dy| the points up to 3.5 away in x are all as near: the first is taken.
    auto m = matchOcclusalPoints(p, 1, 3.5, 3, -3.5, 1);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->tolerance, 4);
    EXPECT_EQ(m->MatchIndex1, 1);
    EXPECT_EQ(m->MatchIndex2, 1);
    // Strictly: 1 away is not within 1. Equally near points: the first.
    EXPECT_EQ(matchOcclusalPoints(p, 1, 1, 3, 0, 1)->tolerance, 2);
    m = matchOcclusalPoints(p, 1.5, 0, 2.5, 0.2, 1);
    EXPECT_EQ(m->MatchIndex1, 2);
    EXPECT_EQ(m->MatchIndex2, 3);

    // A millimetre profile, points 0.1 apart, with the box's step of 1: the points
    // nearest, not the first within 1 mm.
    GrooveProfile mm;
    for (int k = 0; k <= 20; ++k) {
        mm.ProfX.push_back(k * 0.1);
        mm.ProfY.push_back(0);
        mm.ProfZ.push_back(0);
        mm.ProfDist.push_back(k * 0.1);
    }
    m = matchOcclusalPoints(mm, 0.92, 0.01, 1.57, -0.02, 1);
    EXPECT_EQ(m->MatchIndex1, 10);
    EXPECT_EQ(m->MatchIndex2, 17);
    EXPECT_EQ(m->tolerance, 1);
    // A tiny step is reached at once, just above the farther of the two distances.
    m = matchOcclusalPoints(mm, 0.92, 0.01, 1.57, -0.02, 1e-15);
    ASSERT_TRUE(m);
    EXPECT_GT(m->tolerance, 1.6 - 1.57);
    EXPECT_LT(m->tolerance, 1.6 - 1.57 + 2e-15);
    EXPECT_TRUE(matchOcclusalPoints(mm, 0.9, 0, 1.6, 0, 1e-300));

    // Too far: refused once t passes 1000 (a first step above 1000 still matches); a step
    // of 0 or less is refused.
    EXPECT_FALSE(matchOcclusalPoints(p, 0, 1000.5, 2, 0, 1));
    EXPECT_FALSE(matchOcclusalPoints(p, 0, 1000, 2, 0, 1));
    EXPECT_TRUE(matchOcclusalPoints(p, 0, 999.5, 2, 0, 1));
    EXPECT_TRUE(matchOcclusalPoints(p, 0, 1500, 2, 0, 2000));
    EXPECT_FALSE(matchOcclusalPoints(p, 0, 2500, 2, 0, 2000));
    EXPECT_THROW(matchOcclusalPoints(p, 0, 0, 2, 0, 0), trelvik::Error);
    EXPECT_THROW(matchOcclusalPoints(p, 0, 0, 2, 0, -1), trelvik::Error);
}

TEST(CuspOR, ReliefOfAGrooveByHand)
{
    // A V-shaped groove between two rims at heights 4 and 2 (distance 0 .. 6):
    // rims at points 1 and 7, the chord from point 1 (z 4) to point 7 (z 2) falls by 2 over 6.
    const std::vector<double> z = {4, 2, 0, -1, 0, 1, 2};
    GrooveProfile p = lineProfile(z);
    const double theta = std::atan(-2.0 / 6.0);
    const double c = std::cos(theta), s = std::sin(theta);

    for (bool reversed : {false, true}) {
        // Digitising the points against the profile direction gives the same levelling.
        const OcclusionRelief r = reversed ? occlusionRelief(p, 7, 1) : occlusionRelief(p, 1, 7);
        EXPECT_NEAR(r.angleDegrees, theta * 180 / 3.14159, 1e-12);
        std::vector<double> rotZ;
        for (int k = 0; k < 7; ++k) {
            rotZ.push_back(-k * s + z[k] * c);
            EXPECT_NEAR(r.RotDist[k], k * c + z[k] * s, 1e-12);
            EXPECT_NEAR(r.RotZ[k], rotZ[k], 1e-12);
        }
        // The chord is level; the rims are the highest points and point 1 comes first.
        EXPECT_NEAR(r.RotZ[0], r.RotZ[6], 1e-12);
        EXPECT_EQ(r.PeakIndex, 1);
        double sum = 0;
        for (int k = 0; k < 7; ++k) {
            EXPECT_NEAR(r.Relief[k], rotZ[k] - rotZ[0], 1e-12);
            sum += rotZ[k] - rotZ[0];
        }
        EXPECT_NEAR(r.Sum, sum, 1e-12);
        EXPECT_NEAR(r.MeanRelief, -sum / 7, 1e-12);
        EXPECT_GT(r.MeanRelief, 0);
    }

    // A rising chord (2 up to 4) is levelled too, not tilted further.
    GrooveProfile rising = lineProfile({2, 1, 0, -1, 0, 2, 4});
    const OcclusionRelief r = occlusionRelief(rising, 1, 7);
    EXPECT_NEAR(r.RotZ[0], r.RotZ[6], 1e-12);
    EXPECT_GT(r.angleDegrees, 0);
    EXPECT_NEAR(r.angleDegrees, std::atan(2.0 / 6.0) * 180 / 3.14159, 1e-12);
}

TEST(CuspOR, PeakRules)
{
    // Level chord: nothing turns. The highest point wins even when every height is below 0,
    // and the first of equal highs is taken.
    GrooveProfile p = lineProfile({-5, -3, -4, -3, -5});
    OcclusionRelief r = occlusionRelief(p, 1, 5);
    EXPECT_EQ(r.angleDegrees, 0);
    for (int k = 0; k < 5; ++k) {
        EXPECT_DOUBLE_EQ(r.RotDist[k], p.ProfDist[k]);
        EXPECT_DOUBLE_EQ(r.RotZ[k], p.ProfZ[k]);
    }
    EXPECT_EQ(r.PeakIndex, 2);
    EXPECT_DOUBLE_EQ(r.Sum, 0 - 1 + 0 - 2);
    EXPECT_DOUBLE_EQ(r.MeanRelief, 3.0 / 4);

    // The peak at the last point: a mean over one point, 0.
    p = lineProfile({0, 1, 0, 1, 5});
    r = occlusionRelief(p, 1, 3);
    EXPECT_EQ(r.PeakIndex, 5);
    EXPECT_EQ(r.MeanRelief, 0);

    // Both points matched to one profile point: refused.
    EXPECT_THROW(occlusionRelief(p, 2, 2), trelvik::Error);
    EXPECT_THROW(occlusionRelief(p, 0, 2), trelvik::Error);
}

TEST(CuspOR, ResultsLines)
{
    GrooveProfile p = lineProfile({1, 0, 1});
    p.ProfX = {0.5, 1.5, 2.5};
    OcclusalMatch m{1, 3, 2};
    const OcclusionRelief r = occlusionRelief(p, 1, 3);
    const auto lines = occlusionReliefLines(p, m, r);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "0.5,0,1,0,0,1,0,1,3,0,-1,0.333333333333333");
    EXPECT_EQ(lines[1], "1.5,0,0,1,1,0,-1");
    EXPECT_EQ(lines[2], "2.5,0,1,2,2,1,0");
}
