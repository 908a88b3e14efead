// "Rezero": every listed grid shifted so that its least x, y and z become 0.
#include "formats/surfergrid.h"
#include "surferfns/rezero.h"
#include "test_regridsupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::HasSubstr;

class RezeroVersions : public ::testing::TestWithParam<std::string> {};

TEST_P(RezeroVersions, LeastXYAndZBecomeZeroThroughNamedCalls) {
    TempFolder dir;
    // Least z -0.5 at (3, -2); one blank node that must stay blank.
    Grid g = makeGrid(5, 4, 3, 7, -2, 1, [](double x, double y) { return 0.1 * (x - 3) + 0.2 * (y + 2) - 0.5; });
    g.at(4, 3) = kBlank;
    saveGrid(dir.path("cusp.grd"), g);
    ProcRun r(GetParam());
    r.add(dir.folder(), "cusp.grd");
    EXPECT_EQ(cmdReZero(r.ctx), BatchOutcome::Completed);
    const Grid z = formats::readSurferGrid(dir.path("cusprz.grd"));
    EXPECT_DOUBLE_EQ(z.xMin, 0);
    EXPECT_DOUBLE_EQ(z.yMin, 0);
    EXPECT_DOUBLE_EQ(z.xMax, 4);
    EXPECT_NEAR(z.zMin(), 0, 1e-12);
    EXPECT_NEAR(z.at(2, 1), g.at(2, 1) + 0.5, 1e-12);
    EXPECT_TRUE(z.blank(4, 3));
    EXPECT_FALSE(FileExists(dir.path("tempgrid.grd")));
    const auto math = r.calls("GridMath");
    ASSERT_EQ(math.size(), 1u);
    EXPECT_THAT(math[0], HasSubstr("Function:=\"C = A - -0.5\""));
    EXPECT_THAT(r.calls("GridTransform").at(0), HasSubstr("Operation:=1"));
}

INSTANTIATE_TEST_SUITE_P(BothForms, RezeroVersions, ::testing::ValuesIn(kVersions));

TEST(Rezero, FunctionTextUsesTheGeneralNumberForm) {
    EXPECT_EQ(RezeroFunction(12.25), "C = A - 12.25");
    EXPECT_EQ(RezeroFunction(0.00001), "C = A - 1E-05");
}
