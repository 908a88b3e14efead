#include "core/grid.h"
#include <gtest/gtest.h>

using trelvik::Grid;

TEST(Grid, SpacingAndBlankAwareExtremes) {
    Grid g(3, 2, 0.0, 1.0, 10.0, 12.0, 5.0);
    EXPECT_DOUBLE_EQ(g.xSpacing(), 0.5);
    EXPECT_DOUBLE_EQ(g.ySpacing(), 2.0);
    g.at(1, 1) = -2.0;
    g.at(2, 0) = trelvik::kBlank;
    EXPECT_DOUBLE_EQ(g.zMin(), -2.0);
    EXPECT_DOUBLE_EQ(g.zMax(), 5.0);
    EXPECT_TRUE(g.blank(2, 0));
}
