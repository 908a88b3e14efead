#include "toothfeatures/cuspvollevels.h"
#include "toothfeatures/stepservices.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik::toothfeatures;

TEST(CuspVolLevels, TiltAndVerticalStep)
{
    // A level plane has no tilt, and the step differs from I only by the short constant.
    EXPECT_EQ(basalTilt(0, 0), 0.0);
    EXPECT_DOUBLE_EQ(verticalStep(25, 0), 25 * std::sin(1.570796));
    EXPECT_NE(verticalStep(25, 0), 25.0);
    EXPECT_NEAR(verticalStep(25, 0), 25.0, 1e-11);
    // Nearly level planes stay defined (the cosine may round to 1).
    EXPECT_NEAR(basalTilt(1e-9, -1e-9), 0, 1e-8);
    EXPECT_NEAR(basalTilt(1e-3, 0), 1e-3, 1e-9);

    // A = B = 1: the normal (-1, -1, 1) makes arccos(1/sqrt 3) with the vertical.
    const double tilt = basalTilt(1, 1);
    EXPECT_NEAR(tilt, std::acos(1 / std::sqrt(3.0)), 1e-14);
    EXPECT_NEAR(verticalStep(10, tilt), 10 * std::sin(1.570796 - std::acos(1 / std::sqrt(3.0))), 1e-13);
    // A 45-degree plane along x.
    EXPECT_NEAR(basalTilt(1, 0), std::atan(1.0), 1e-14);
    EXPECT_NEAR(basalTilt(-1, 0), std::atan(1.0), 1e-14);

    EXPECT_DOUBLE_EQ(levelHeight(10, 2.5, 1), 10);
    EXPECT_DOUBLE_EQ(levelHeight(10, 2.5, 5), 0);
    EXPECT_DOUBLE_EQ(levelHeight(10, 2.5, 6), -2.5);
}

TEST(CuspVolLevels, TextsInTheirNumberForms)
{
    EXPECT_EQ(levelFunction(1.25), "C = A + 1.25");
    EXPECT_EQ(levelFunction(-0.1), "C = A +-.1");
    EXPECT_EQ(levelFunction(0), "C = A + 0");
    EXPECT_EQ(levelFunction(0.5), "C = A + .5");

    EXPECT_EQ(cuspVolHeader(),
              "\"IntZMin\",\"IntZMax\",\"Fract_IL\",\"Vert_dist_from_tip\",\"Dist_from_tip\",\"Volume\","
              "\"Pos_Surf_Area\"");

    CuspVolRow row;
    row.level = -0.25;
    row.tipText = "12.5";
    row.interval = 3;
    row.divisorText = "50";
    row.vertDist = 0.75;
    row.dist = 1.5;
    row.volume = 1234.5;
    row.posSurfArea = 0.0625;
    EXPECT_EQ(cuspVolRow(row), "\"-.25\",\"12.5\",\"3/50il\",0.75,1.5,1234.5,0.0625,\"\"");
    row.level = 0.5;
    row.interval = 0;
    row.vertDist = 0;
    row.dist = 0;
    row.volume = 1e-5;
    EXPECT_EQ(cuspVolRow(row), "\".5\",\"12.5\",\"0/50il\",0,0,1E-05,0.0625,\"\"");

    EXPECT_EQ(cuspVolResultsPath("/d/T1", "pa", 12.345), "/d/T1pa-12.345_cuspvolresults.csv");
    EXPECT_EQ(cuspVolResultsPath("/d/T1", "pa", 0), "/d/T1pa-0_cuspvolresults.csv");
    EXPECT_EQ(cuspVolResultsPath("/d/T1", "prd", 0.5), "/d/T1prd-.5_cuspvolresults.csv");
}

TEST(StepServices, BoxesAreReadAsWholeNumbers)
{
    for (const auto& [typed, value] : std::initializer_list<std::pair<const char*, double>>{
             {"25", 25}, {" -.5 ", -0.5}, {"+3", 3}, {"1E-3", 0.001}, {"2.", 2}, {"7\r\n", 7}, {"\t0", 0}})
        EXPECT_EQ(numberIn(typed), std::optional<double>(value)) << typed;
    for (const char* bad : {"", "  ", "25mm", "abc", "+-5", "--5", "1e999", "inf", "nan", "0x10", "1,5"})
        EXPECT_FALSE(numberIn(bad)) << bad;
}
