// Undercut removal against the brute-force rule, on clouds with real overhangs.
#include "conversion/undercutremoval.h"
#include "core/error.h"
#include "core/textform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

using namespace trelvik;
using namespace trelvik::conversion;

namespace {

// A dome with a lip: the upper surface z = 1 - x^2 - y^2 over a disc, plus points of
// an overhang below its rim and stray points under the surface.
PointList domeWithUndercuts(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1, 1);
    PointList pts;
    while (static_cast<int>(pts.size()) < n) {
        const double x = u(rng), y = u(rng);
        const double rr = x * x + y * y;
        if (rr > 1) continue;
        const double top = 1 - rr;
        const int kind = static_cast<int>(pts.size() % 7);
        if (kind == 5 && rr > 0.6) pts.push_back({x, y, top - 0.3 * (u(rng) + 1)});  // under the lip
        else if (kind == 6) pts.push_back({x, y, top - 0.02 * (u(rng) + 1)});        // close under
        else pts.push_back({x, y, top});
    }
    return pts;
}

std::vector<bool> flagsInInputOrder(const UndercutResult& r, std::size_t n) {
    std::vector<bool> f(n);
    for (std::size_t k = 0; k < r.order.size(); ++k) f[r.order[k]] = r.rejectedFlag[k];
    return f;
}

} // namespace

TEST(UndercutRemoval, MatchesBruteForceForEveryRuleAndBinSize) {
    const PointList pts = domeWithUndercuts(2500, 7);
    struct Case {
        double r, b;
        UndercutRule rule;
        double t, p;
    };
    const Case cases[] = {
        {0.05, 0.05, UndercutRule::Threshold, 0.02, 0},   // bins as large as the radius
        {0.075, 0.05, UndercutRule::Threshold, 0.05, 0},  // radius not a multiple of the bins
        {0.03, 0.1, UndercutRule::Threshold, 0.01, 0},    // bins larger than the square
        {0.06, 0.013, UndercutRule::Threshold, 0, 0},     // many small bins
        {0.2, 0.01, UndercutRule::Threshold, 0.05, 0},    // a radius of twenty bins
        {0.05, 0.05, UndercutRule::Proportion, 0, 0.9},
        {0.08, 0.03, UndercutRule::Proportion, 0, 1.0},
    };
    for (const Case& c : cases) {
        UndercutOptions o;
        o.radius = c.r;
        o.binSize = c.b;
        o.rule = c.rule;
        o.threshold = c.t;
        o.proportion = c.p;
        const UndercutResult res = removeUndercuts(pts, o);
        ASSERT_EQ(res.order.size(), pts.size());
        const auto got = flagsInInputOrder(res, pts.size());
        const auto want = undercutRejectsBruteForce(pts, o);
        EXPECT_EQ(got, want) << "r=" << c.r << " b=" << c.b;
        const auto nRej = static_cast<std::size_t>(std::count(want.begin(), want.end(), true));
        EXPECT_EQ(res.rejected.size(), nRej);
        EXPECT_EQ(res.kept.size() + res.rejected.size(), pts.size());
        EXPECT_GT(nRej, 0u);
    }
}

TEST(UndercutRemoval, LatticeDataAndAStrayPointFarAway) {
    // Points on an exact lattice whose spacing meets the bin lines, plus one point so
    // far away that the lattice of bins is kept sparse.
    PointList pts;
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 40; ++j) pts.push_back({i * 0.03, j * 0.03, std::sin(i * 0.7) * std::cos(j * 0.4) * 0.05});
    pts.push_back({50000.0, -30000.0, 1.0});
    UndercutOptions o = DefaultUndercutOptions(0.018);
    o.threshold = 0.01;
    for (double r : {0.018, 0.03, 0.06}) {
        o.radius = r;
        o.binSize = 0.018;
        EXPECT_EQ(flagsInInputOrder(removeUndercuts(pts, o), pts.size()), undercutRejectsBruteForce(pts, o)) << r;
    }
}

TEST(UndercutRemoval, HandCasesOfTheRule) {
    UndercutOptions o;
    o.radius = 1;
    o.binSize = 1;
    o.threshold = 0.5;
    // Same x, y: the lower is rejected only when strictly more than t below.
    auto res = removeUndercuts({{0, 0, 1.0}, {0, 0, 0.5}, {5, 5, 1.0}, {5, 5, 0.25}}, o);
    ASSERT_EQ(res.rejected.size(), 1u);
    EXPECT_EQ(res.rejected[0].z, 0.25);
    // A neighbour exactly r away in x is outside the square.
    res = removeUndercuts({{0, 0, 0}, {1, 0, 10}}, o);
    EXPECT_TRUE(res.rejected.empty());
    // A negative threshold rejects everything; p < 1 rejects a lone point below zero.
    o.threshold = -0.1;
    EXPECT_EQ(removeUndercuts({{0, 0, 0}, {3, 3, 1}}, o).kept.size(), 0u);
    o.rule = UndercutRule::Proportion;
    o.proportion = 0.9;
    res = removeUndercuts({{0, 0, -1}, {3, 3, 1}}, o);
    ASSERT_EQ(res.rejected.size(), 1u);
    EXPECT_EQ(res.rejected[0].z, -1);
}

TEST(UndercutRemoval, OutputInBinOrderWithValuesKept) {
    // Input from high y to low y comes back row of bins by row of bins from low y.
    PointList pts;
    for (int j = 9; j >= 0; --j)
        for (int i = 9; i >= 0; --i) pts.push_back({i * 0.1 + 0.05, j * 0.1 + 0.05, 1.0});
    UndercutOptions o = DefaultUndercutOptions(0.1);
    const auto res = removeUndercuts(pts, o);
    ASSERT_EQ(res.kept.size(), pts.size());
    for (std::size_t k = 1; k < res.kept.size(); ++k) {
        const auto& a = res.kept[k - 1];
        const auto& b = res.kept[k];
        EXPECT_TRUE(a.y < b.y || (a.y == b.y && a.x < b.x)) << k;
    }
}

// Judged on several threads and in rounds, a cloud larger than one round must come back
// exactly as one pass in bin order gives it: every point once, bins row by row and in
// input order within a bin, kept and rejected the order split by the flags, and each
// flag the rule's verdict (checked by brute force on a sample).
TEST(UndercutRemoval, ParallelRoundsGiveTheSerialBinOrderAndVerdicts) {
    const PointList pts = domeWithUndercuts(1100000, 3);
    const UndercutOptions o = DefaultUndercutOptions(0.005);
    const auto res = removeUndercuts(pts, o);
    ASSERT_EQ(res.order.size(), pts.size());
    ASSERT_EQ(res.rejectedFlag.size(), pts.size());

    double xmin = pts[0].x, ymin = pts[0].y;
    for (const auto& p : pts) xmin = std::min(xmin, p.x), ymin = std::min(ymin, p.y);
    const double b = o.binSize, xlo = std::floor(xmin / b) * b, ylo = std::floor(ymin / b) * b;
    auto key = [&](std::uint32_t i) {
        return std::tuple(std::floor(text::Round(pts[i].y - ylo, 8) / b), std::floor(text::Round(pts[i].x - xlo, 8) / b), i);
    };
    std::vector<bool> seen(pts.size());
    std::size_t kept = 0, rejected = 0;
    for (std::size_t k = 0; k < res.order.size(); ++k) {
        const std::uint32_t i = res.order[k];
        ASSERT_FALSE(seen[i]);
        seen[i] = true;
        if (k > 0) ASSERT_LT(key(res.order[k - 1]), key(i)) << k;
        const PointXYZ& want = pts[i];
        const PointXYZ& got = res.rejectedFlag[k] ? res.rejected[rejected++] : res.kept[kept++];
        ASSERT_TRUE(got.x == want.x && got.y == want.y && got.z == want.z) << k;
    }
    EXPECT_EQ(kept, res.kept.size());
    EXPECT_EQ(rejected, res.rejected.size());
    EXPECT_GT(rejected, 1000u);

    const std::vector<bool> flags = flagsInInputOrder(res, pts.size());
    for (std::size_t i = 0; i < pts.size(); i += 9973) {
        double top = -INFINITY;
        const PointXYZ& p = pts[i];
        const double r = o.radius;
        for (const auto& q : pts)
            if (p.x - r < q.x && q.x < p.x + r && p.y - r < q.y && q.y < p.y + r) top = std::max(top, q.z);
        EXPECT_EQ(flags[i], pts[i].z < top - o.threshold) << i;
    }
}

TEST(UndercutRemoval, DefaultsMouldAndRefusals) {
    const UndercutOptions d = DefaultUndercutOptions(0.018);
    EXPECT_EQ(d.binSize, 0.018);
    EXPECT_EQ(d.rule, UndercutRule::Threshold);
    EXPECT_DOUBLE_EQ(d.threshold, 0.072);
    EXPECT_DOUBLE_EQ(DefaultUndercutOptions(0.02).threshold, 0.08);

    PointList m{{1.5, -2, 0.25}};
    TurnMould(m);
    EXPECT_EQ(m[0].x, -1.5);
    EXPECT_EQ(m[0].y, -2);
    EXPECT_EQ(m[0].z, -0.25);

    UndercutOptions o;
    EXPECT_THROW(removeUndercuts({}, o), Error);
    o.radius = 0;
    EXPECT_THROW(removeUndercuts({{0, 0, 0}}, o), Error);
    o.radius = 0.1;
    o.binSize = -1;
    EXPECT_THROW(removeUndercuts({{0, 0, 0}}, o), Error);
    o.binSize = 0.1;
    try {
        removeUndercuts({{0, 0, 0}, {NAN, 0, 0}}, o, noProgress(), "scan.txt");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("scan.txt: point 2"), std::string::npos);
    }
}

TEST(UndercutRemoval, ReportsProgressEveryHundredPointsAndAtTheEnd) {
    struct Count : Progress {
        std::vector<long long> seen;
        void step(long long d, long long t) override {
            seen.push_back(d);
            EXPECT_EQ(t, 250);
        }
    } c;
    PointList pts;
    for (int i = 0; i < 250; ++i) pts.push_back({i * 0.01, 0, 0});
    removeUndercuts(pts, DefaultUndercutOptions(0.02), c);
    EXPECT_EQ(c.seen, (std::vector<long long>{100, 200, 250}));
}
