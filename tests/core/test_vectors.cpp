#include "core/vectors.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik;

TEST(Vectors, ArcCosWorkedValuesAndEnds) {
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(ArcCos(0), pi / 2, 1e-15);
    EXPECT_NEAR(ArcCos(0.5), pi / 3, 1e-15);
    EXPECT_NEAR(ArcCos(-0.5), 2 * pi / 3, 1e-15);
    EXPECT_EQ(ArcCos(1), 0.0);
    EXPECT_NEAR(ArcCos(-1), pi, 1e-15);
    for (double x = -0.999; x < 1; x += 0.037) EXPECT_NEAR(ArcCos(x), std::acos(x), 1e-12) << x;
    EXPECT_THROW(ArcCos(1.0000001), Error);
    EXPECT_THROW(ArcCos(-2), Error);
    EXPECT_THROW(ArcCos(NAN), Error);
}

TEST(Vectors, AngleBetweenVectors) {
    EXPECT_NEAR(AngleBetweenVectors(1, 0, 0, 1), 90, 1e-12);
    EXPECT_EQ(AngleBetweenVectors(1, 0, 1, 0), 360);
    EXPECT_EQ(AngleBetweenVectors(1, 0, -1, 0), 180);
    EXPECT_NEAR(AngleBetweenVectors(1, 0, 1, 1), 45, 1e-12);
    // Nearly parallel vectors whose cosine rounds past +-1 still give the limits.
    EXPECT_EQ(AngleBetweenVectors(0.1, 0.3, 0.2, 0.6), 360);
    EXPECT_EQ(AngleBetweenVectors(0.1, 0.3, -0.2, -0.6), 180);
    EXPECT_THROW(AngleBetweenVectors(0, 0, 1, 0), Error);
    EXPECT_THROW(AngleBetweenVectors(1, 0, 0, 0), Error);
}

TEST(Vectors, CrossProductsLengthsCosinesAndLog10) {
    // (1,2,3) x (4,5,6) = (-3, 6, -3)
    EXPECT_EQ(CrossProductX(1, 2, 3, 4, 5, 6), -3);
    EXPECT_EQ(CrossProductY(1, 2, 3, 4, 5, 6), 6);
    EXPECT_EQ(CrossProductZ(1, 2, 3, 4, 5, 6), -3);
    EXPECT_EQ(VectorLength(3, 4, 12), 13);
    EXPECT_DOUBLE_EQ(DirectionCosineX(3, 4), 0.6);
    EXPECT_DOUBLE_EQ(DirectionCosineY(3, 4), 0.8);
    EXPECT_THROW(DirectionCosineX(0, 0), Error);
    EXPECT_NEAR(Log10(1000), 3, 1e-15);
    EXPECT_THROW(Log10(0), Error);
    EXPECT_THROW(Log10(-1), Error);
    EXPECT_THROW(DirectionCosineY(0, 0), Error);
}
