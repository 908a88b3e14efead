// "Rezero": every listed grid shifted so that its least x, y and z become 0.
#include "surferfns/rezero.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::HasSubstr;

TEST(Rezero, LeastXYAndZBecomeZeroThroughNamedCallsInBothVersions) {
    for (bool v6 : {false, true}) {
        ProcRun r(v6);
        // Least z -0.5 at (3, -2); one blank node that must stay blank.
        Grid g = makeGrid(5, 4, 3, 7, -2, 1, [](double x, double y) { return 0.1 * (x - 3) + 0.2 * (y + 2) - 0.5; });
        g.at(4, 3) = kBlank;
        r.add("cusp.grd", g);
        r.dir.write("tempgrid.grd", "the user's own");  // named like the step's scratch grid
        EXPECT_EQ(cmdReZero(r.ctx), BatchOutcome::Completed);
        const Grid z = r.read("cusprz.grd");
        EXPECT_DOUBLE_EQ(z.xMin, 0);
        EXPECT_DOUBLE_EQ(z.yMin, 0);
        EXPECT_DOUBLE_EQ(z.xMax, 4);
        EXPECT_NEAR(z.zMin(), 0, 1e-12);
        EXPECT_NEAR(z.at(2, 1), g.at(2, 1) + 0.5, 1e-12);
        EXPECT_TRUE(z.blank(4, 3));
        EXPECT_EQ(r.dir.read("tempgrid.grd"), "the user's own");
        EXPECT_THAT(r.calls("GridMath"), ::testing::ElementsAre(HasSubstr("Function:=\"C = A - -0.5\""))) << v6;
    }
    // The shift is written in the general number form.
    EXPECT_EQ(RezeroFunction(12.25), "C = A - 12.25");
    EXPECT_EQ(RezeroFunction(0.00001), "C = A - 1E-05");
}
