// GridFilter, GridMatrixSmooth and GridCalculus through the automation interface, with
// the arguments the smoothing, curvature and terrain tools pass in both call forms.
#include "surfertest.h"

#include "core/error.h"

#include <gtest/gtest.h>


using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

class FilterCall : public ::testing::Test {
protected:
    void SetUp() override {
        trelvik::Grid g(3, 3, 0, 2, 0, 2, 0);
        const double v[9] = {1, 0, 2, 0, 4, 0, 3, 0, 5};
        for (int i = 0; i < 9; ++i) g.z[static_cast<std::size_t>(i)] = v[i];
        in = surfertest::saveGrid(dir, "tooth.grd", g);
    }
    void TearDown() override { surfer::shutdownAll(); }
    double centre(const std::string& name) { return trelvik::formats::readSurferGrid(dir.path(name)).at(1, 1); }

    trelvik::testing::TempFolder dir;
    std::string in;
};

} // namespace

TEST_F(FilterCall, Version8PositionalFilterReceivesWeightsAsParameters) {
    auto app = surfertest::v8();
    surfer::ResultArray unset;  // the window's matrix when "Define filter" never ran
    // "Inverse distance (nxn)", n 3, w 2, c 3: the weight and centre weight of "_fid3,2,3".
    app->call("GridFilter", Positional{in, 3, omitted, omitted, 1, 2, 3, 3, 3, omitted, omitted, unset,
                                       dir.path("tooth_fid3,2,3.grd")});
    EXPECT_DOUBLE_EQ(centre("tooth_fid3,2,3.grd"), 17.5 / 9);
    app->call("GridFilter", Positional{in, 8, omitted, omitted, 2, omitted, omitted, 3, 3, omitted, omitted, unset,
                                       dir.path("tooth_9nax2.grd")});
    EXPECT_NEAR(centre("tooth_9nax2.grd"), 14.75 / 9, 1e-14);
    EXPECT_THROW(app->call("GridFilter", Positional{in, 8, 1, omitted, 1, omitted, omitted, 3, 3, omitted, omitted,
                                                    unset, dir.path("x.grd")}),
                 trelvik::Error);
}

TEST_F(FilterCall, Version8NamedUserMatrixAndGaussian) {
    auto app = surfertest::v8();
    surfer::ResultArray kernel{1, 1, 1, 1, 4, 1, 1, 1, 1};
    app->call("GridFilter", Named{{"InGrid", in}, {"Filter", 5}, {"NumPasses", 1.0}, {"NumRow", 3}, {"NumCol", 3},
                                  {"UserFilter", kernel}, {"OutGrid", dir.path("tooth_fwa3,4x1.grd")}});
    EXPECT_DOUBLE_EQ(centre("tooth_fwa3,4x1.grd"), 27.0 / 12);
    app->call("GridFilter", Named{{"InGrid", in}, {"Filter", 4}, {"NumPasses", 1.0}, {"NumRow", 3}, {"NumCol", 3},
                                  {"Param1", 0.0}, {"OutGrid", dir.path("tooth_glp3,0x1.grd")}});
    EXPECT_DOUBLE_EQ(centre("tooth_glp3,0x1.grd"), 15.0 / 9);
    surfer::ResultArray none;
    EXPECT_THROW(app->call("GridFilter", Named{{"InGrid", in}, {"Filter", 5}, {"UserFilter", none},
                                               {"OutGrid", dir.path("y.grd")}}),
                 trelvik::Error);
}

TEST_F(FilterCall, Version6MatrixSmoothTakesTheWeightAsText) {
    auto app = surfertest::v6();
    app->call("GridMatrixSmooth", Positional{in, 0, "4", omitted, 1, 1, dir.path("toothsm1.grd")});
    EXPECT_DOUBLE_EQ(centre("toothsm1.grd"), 27.0 / 12);
    EXPECT_THROW(app->call("GridMatrixSmooth", Positional{in, 0, "four", omitted, 1, 1, dir.path("z.grd")}),
                 trelvik::Error);
}

TEST_F(FilterCall, AspectMinimumSlopeAndUnknownCalculusCodes) {
    // z = x - 2y: slope atan(sqrt 5) = 1.15 radians; a minimum above it blanks the aspect.
    const std::string plane = surfertest::saveGrid(
        dir, "plane.grd", surfertest::makeGrid(5, 5, 0, 4, 0, 4, [](double x, double y) { return x - 2 * y; }));
    auto at = [&](const std::string& name) { return trelvik::formats::readSurferGrid(dir.path(name)).at(2, 2); };
    auto a8 = surfertest::v8();
    a8->call("GridCalculus", Named{{"InGrid", plane}, {"Operation", 5}, {"Param1", 1.1}, {"OutGrid", dir.path("k8.grd")}});
    EXPECT_FALSE(trelvik::isBlank(at("k8.grd")));
    a8->call("GridCalculus", Named{{"InGrid", plane}, {"Operation", 5}, {"Param1", 1.2}, {"OutGrid", dir.path("b8.grd")}});
    EXPECT_TRUE(trelvik::isBlank(at("b8.grd")));

    auto a6 = surfertest::v6();
    EXPECT_THROW(a8->call("GridCalculus", Named{{"InGrid", plane}, {"Operation", 1}, {"OutGrid", dir.path("e.grd")}}),
                 trelvik::Error);
    EXPECT_THROW(a6->call("GridCalculus", Positional{plane, 0, 1, 30.0, omitted, omitted, omitted, omitted,
                                                     dir.path("e.grd")}),
                 trelvik::Error);
}
