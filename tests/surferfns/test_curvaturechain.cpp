// The curvature grid: the greatest directional curvature over nineteen directions,
// checked on a paraboloid bowl against its analytic curvature, in both call forms.
#include "surferfns/curvaturechain.h"
#include "procrun.h"
#include "surfer/gridcache.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <regex>

using namespace surffnstest;
using ::testing::HasSubstr;

namespace {

constexpr double kA = 0.3;  // z = kA (x^2 + y^2): a bowl, bending upward everywhere

// d2z/ds2 / (1 + (dz/ds)^2)^1.5 along direction t of the bowl: 2a / (1 + 4a^2 (x cos t +
// y sin t)^2)^1.5, greatest across the radius, where it is 2a.
double bowlCurvature(double x, double y, double degrees) {
    const double t = degrees * std::numbers::pi / 180;
    const double d1 = 2 * kA * (x * std::cos(t) + y * std::sin(t));
    return 2 * kA / std::pow(1 + d1 * d1, 1.5);
}

// The output paths named in the call log's GridCalculus and GridMath lines.
std::vector<std::string> intermediates(const ProcRun& r) {
    std::vector<std::string> out;
    const std::regex path("\"([^\"]*[dm][0-9]+\\.grd)\"");
    for (const std::string& line : r.app.SurferApp->callLog())
        for (std::sregex_iterator it(line.begin(), line.end(), path), end; it != end; ++it)
            out.push_back((*it)[1]);
    return out;
}

} // namespace

class CurvatureChain : public ::testing::TestWithParam<bool> {};

TEST_P(CurvatureChain, ParaboloidBowlMatchesAnalyticCurvature) {
    ProcRun r(GetParam());
    trelvik::surffns::PrepareSurfer(r.ctx);
    r.add("bowl_s.grd", makeGrid(9, 7, -2, 2, -1.5, 1.5, [](double x, double y) { return kA * (x * x + y * y); }));
    const std::string g = r.dir.path("bowl_s.grd");
    // A user's grids named as the chain's steps would once have been named stay untouched.
    r.add("bowl_s0.grd", makeGrid(3, 3, 0, 2, 0, 2, [](double, double) { return 42; }));
    r.add("bowl_sm17.grd", makeGrid(3, 3, 0, 2, 0, 2, [](double, double) { return 43; }));

    EXPECT_EQ(MakeCurvatureGrid(r.ctx, g), r.dir.path("bowl_s_curv10.grd"));
    const Grid c = r.read("bowl_s_curv10.grd");
    for (int j = 0; j < c.rows; ++j)
        for (int i = 0; i < c.cols; ++i) {
            if (i == 0 || j == 0 || i == c.cols - 1 || j == c.rows - 1) {
                EXPECT_TRUE(c.blank(i, j));
                continue;
            }
            double sampled = -1e300;
            for (int k = 0; k <= 18; ++k) sampled = std::max(sampled, bowlCurvature(c.x(i), c.y(j), 10.0 * k));
            EXPECT_NEAR(c.at(i, j), sampled, 1e-12) << i << "," << j;
            // Positive in the bowl; ten-degree steps come within 5 degrees of the radius' normal.
            EXPECT_GT(c.at(i, j), 2 * kA * 0.97);
        }

    EXPECT_EQ(r.read("bowl_s0.grd").at(1, 1), 42);
    EXPECT_EQ(r.read("bowl_sm17.grd").at(1, 1), 43);
    const auto steps = intermediates(r);
    ASSERT_EQ(steps.size(), 19u + 18u * 3u + 1u);  // written, then each read once
    for (const std::string& p : steps) {
        EXPECT_FALSE(std::filesystem::exists(p)) << p;
        EXPECT_NE(std::filesystem::path(p).parent_path(), std::filesystem::path(r.dir.folder()));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(p).parent_path()));
    }
    EXPECT_THAT(r.calls("GridCalculus")[18], HasSubstr(GetParam() ? ", 0, 2, 180, , , , , " : "Param1:=180,"));
}

// The stand-in keeps the grids it has just written or read in memory: the chain must give
// the bytes it gives when every step reads its grids back from the files, also after the
// input has been replaced behind the stand-in's back by a grid of the same size. Each
// direction is folded in as it is made: the working folder never holds more than three
// grids.
TEST(CurvatureChainGrids, KeptInMemoryGiveTheBytesOfGridsReadBackFromFile) {
    ProcRun r(false);
    trelvik::surffns::PrepareSurfer(r.ctx);
    const std::string in = r.dir.path("t.grd");
    std::size_t mostHeld = 0;
    auto run = [&](bool fromFiles, const std::string& out) {
        const CurvatureCall call = [&](const std::string& op, const surfer::Positional& v6, const surfer::Named& v8) {
            if (fromFiles) surfer::detail::clearGridCache();
            CallSurfer(r.ctx, op, v6, v8);
            const std::filesystem::path work = std::filesystem::path(v8.args.back().second.text()).parent_path();
            if (work != r.dir.dir())
                mostHeld = std::max<std::size_t>(mostHeld, std::distance(std::filesystem::directory_iterator(work),
                                                                         std::filesystem::directory_iterator()));
        };
        MakeAllAnglesCurvature(call, in, 15, r.dir.path(out));
        return r.dir.read(out);
    };
    // Extents whose spacings do not add up exactly, and blank nodes.
    auto tooth = [](double phase) {
        Grid g = makeGrid(37, 29, 0.1, 1.23, -0.7, 0.41,
                          [phase](double x, double y) { return std::sin(7 * x + phase) * std::cos(5 * y) + 0.3 * x * y; });
        g.at(5, 5) = kBlank;
        g.at(20, 11) = kBlank;
        return g;
    };
    saveGrid(in, tooth(0));
    const std::string cold = run(true, "cold.grd");
    EXPECT_EQ(run(false, "kept.grd"), cold);
    EXPECT_EQ(run(false, "again.grd"), cold);

    saveGrid(in, tooth(1));  // same size, written by another writer
    const std::string coldOther = run(true, "cold2.grd");
    EXPECT_NE(coldOther, cold);
    EXPECT_EQ(run(false, "kept2.grd"), coldOther);
    EXPECT_EQ(mostHeld, 3u);
}

INSTANTIATE_TEST_SUITE_P(Both, CurvatureChain, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });
