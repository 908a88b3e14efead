// Enamel thickness: nearest distances against all-pairs comparison on random clouds,
// the search record against a literal shell-by-shell bin search, hand cases, and the
// command's files.
#include <gtest/gtest.h>

#include "core/textform.h"
#include "pointclouds/enamelthickness.h"
#include "pointclouds/nearestforest.h"
#include "support/tempfolder.h"
#include "support/writefailures.h"
#include "cmdrun.h"

#include <cmath>
#include <random>

using namespace trelvik;
using namespace trelvik::ptcloud;

namespace {

PointList randomCloud(std::size_t n, unsigned seed, double lo, double hi) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(lo, hi);
    PointList p(n);
    for (auto& q : p) q = {u(rng), u(rng), u(rng)};
    return p;
}

// The search as a lattice of bins would run it: grow the cube of bins shell by shell
// until a target in it lies no farther than the nearest face.
struct Literal {
    double d;
    double fx, fy, fz;
    long long s;
};
Literal literalSearch(const PointXYZ& p, const PointList& target, double b, double x0, double y0, double z0) {
    auto bin = [b](double v, double o) { return std::floor((v - o) / b) + 1; };
    const double i = bin(p.x, x0), j = bin(p.y, y0), k = bin(p.z, z0);
    for (long long s = 0;; ++s) {
        double best = 1e300;
        for (const auto& q : target) {
            if (std::abs(bin(q.x, x0) - i) > s || std::abs(bin(q.y, y0) - j) > s || std::abs(bin(q.z, z0) - k) > s)
                continue;
            best = std::min(best, std::sqrt((p.y - q.y) * (p.y - q.y) + (p.x - q.x) * (p.x - q.x) +
                                            (p.z - q.z) * (p.z - q.z)));
        }
        auto face = [&](double v, double o, double c) {
            return std::min(std::abs(v - (o + b * (c - 1 - double(s)))), std::abs(v - (o + b * (c + double(s)))));
        };
        const double fx = face(p.x, x0, i), fy = face(p.y, y0, j), fz = face(p.z, z0, k);
        if (best < 1e300 && best <= fx && best <= fy && best <= fz) return {best, fx, fy, fz, s};
    }
}

} // namespace

TEST(EnamelThickness, NearestDistancesEqualAllPairsForAnyBinSize) {
    const PointList surface = randomCloud(2000, 1, -3, 3);
    const PointList target = randomCloud(1500, 2, -2, 4);
    const std::vector<double> brute = NearestDistancesBruteForce(surface, target);
    for (double b : {0.05, 0.25, 7.0}) {
        const EnamelThickness e = NearestDistances(surface, target, b);
        ASSERT_EQ(e.distance.size(), surface.size());
        for (std::size_t i = 0; i < surface.size(); ++i) EXPECT_DOUBLE_EQ(e.distance[i], brute[i]) << i << " b=" << b;
    }
}

TEST(EnamelThickness, FarApartCloudsAndOnePointTarget) {
    // A million units apart and more: every distance is still found, exactly.
    PointList surface = {{0, 0, 0}, {1, 2, 2}, {-5e5, 3, 1}};
    const PointList target = {{2e6, 0, 0}};
    const EnamelThickness e = NearestDistances(surface, target, 0.25);
    EXPECT_DOUBLE_EQ(e.distance[0], 2e6);
    EXPECT_DOUBLE_EQ(e.distance[1], std::sqrt(4 + 4 + (2e6 - 1) * (2e6 - 1)));
    EXPECT_DOUBLE_EQ(e.distance[2], std::sqrt(9 + 1 + 2.5e6 * 2.5e6));
    // Coinciding points: distance 0 at shell 0; the same cloud measured against itself.
    const PointList cloud = randomCloud(300, 9, 0, 1);
    const EnamelThickness self = NearestDistances(cloud, cloud, 0.1);
    for (std::size_t i = 0; i < cloud.size(); ++i) {
        EXPECT_EQ(self.distance[i], 0);
        EXPECT_EQ(self.trace[i].shell, 0);
    }
}

TEST(EnamelThickness, RecordMatchesTheShellByShellSearch) {
    // Points on a coarse lattice put targets on bin faces, where the cube must grow.
    PointList surface = randomCloud(400, 3, 0, 2), target = randomCloud(60, 4, 0.3, 1.7);
    for (int i = 0; i < 5; ++i) target.push_back({0.25 * i, 0.5, 0.75});
    surface.push_back({0.6, 0.5, 0.75});
    for (double b : {0.25, 0.1}) {
        const EnamelThickness e = NearestDistances(surface, target, b);
        double x0 = 1e9, y0 = 1e9, z0 = 1e9;
        for (const PointList* c : {&surface, &target})
            for (const auto& p : *c) x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), z0 = std::min(z0, p.z);
        x0 = b * std::floor(x0 / b), y0 = b * std::floor(y0 / b), z0 = b * std::floor(z0 / b);
        ASSERT_EQ(e.trace.size(), surface.size());
        for (const TraceRow& row : e.trace) {
            const Literal want = literalSearch(surface[row.point], target, b, x0, y0, z0);
            EXPECT_DOUBLE_EQ(e.distance[row.point], want.d);
            EXPECT_EQ(row.shell, want.s) << row.point;
            EXPECT_DOUBLE_EQ(row.fx, want.fx);
            EXPECT_DOUBLE_EQ(row.fy, want.fy);
            EXPECT_DOUBLE_EQ(row.fz, want.fz);
        }
        // Bin order: z bins outermost, then y, then x, file order within a bin.
        auto key = [&](std::uint32_t i) {
            const auto& p = surface[i];
            return std::make_tuple(std::floor((p.z - z0) / b), std::floor((p.y - y0) / b), std::floor((p.x - x0) / b), i);
        };
        for (std::size_t t = 1; t < e.trace.size(); ++t) EXPECT_LT(key(e.trace[t - 1].point), key(e.trace[t].point));
    }
}

TEST(EnamelThickness, HandCase) {
    // Surface point (0.1, 0.1, 0.1) in bin (1,1,1) of b = 0.25 from origin 0; target
    // (0.1, 0.1, 0.3) at distance 0.2 lies in bin (1,1,2). Shell 0: faces 0.1 away, no
    // target in the bin. Shell 1: faces 0.1 + 0.25 away, the target closes it.
    const EnamelThickness e = NearestDistances({{0.1, 0.1, 0.1}}, {{0.1, 0.1, 0.3}}, 0.25);
    EXPECT_DOUBLE_EQ(e.distance[0], 0.2);
    EXPECT_EQ(e.trace[0].shell, 1);
    EXPECT_DOUBLE_EQ(e.trace[0].fx, 0.35);
    EXPECT_DOUBLE_EQ(e.trace[0].fz, 0.35);
}

TEST(EnamelThickness, RefusesEmptyCloudsAndBadBinSize) {
    EXPECT_THROW(NearestDistances({}, {{0, 0, 0}}, 0.25), Error);
    EXPECT_THROW(NearestDistances({{0, 0, 0}}, {}, 0.25), Error);
    EXPECT_THROW(NearestDistances({{0, 0, 0}}, {{0, 0, 0}}, 0), Error);
    EXPECT_THROW(NearestDistances({{0, 0, 0}}, {{0, 0, 0}}, std::nan("")), Error);
    // A bin far too small for the clouds' extent is refused rather than searched.
    EXPECT_THROW(NearestDistances({{0, 0, 0}}, {{1e6, 0, 0}}, 1e-12), Error);
}

TEST(EnamelThickness, CommandWritesDistanceAndRecordFiles) {
    trelvik::testing::TempFolder dir;
    dir.write("outer.txt", "0,0,0\r\n1,0,0\r\n3,4,0\r\n");
    dir.write("edj.txt", "0,0,1\r\n3,4,2\n");
    AppState app;
    ScriptedPrompt prompt;
    PtCloudList list;
    PtCloudContext ctx{app, prompt, list};
    ctx.File2Folder = dir.folder();
    // One file listed: refused with a message, the list stays.
    ctx.Text2 = "outer.txt";
    ASSERT_TRUE(AddFilename(ctx));
    EXPECT_FALSE(cmdEnamThickCalc(ctx, {}));
    EXPECT_EQ(list.NoFiles, 1);
    prompt.shown.clear();
    ctx.Text2 = "edj.txt";
    ASSERT_TRUE(AddFilename(ctx));
    ASSERT_TRUE(cmdEnamThickCalc(ctx, {}));
    EXPECT_EQ(list.NoFiles, 0);
    EXPECT_EQ(dir.read("outer_dist.txt"), "0,0,0,1\r\n1,0,0,1.4142135623731\r\n3,4,0,2\r\n");
    // Record: number, x, y, z, fx, fy, fz, distance, shell, in bin order. The point
    // (0, 0, 0) sits on the lower faces of its bin, so a cube of shell s reaches 0.25 s
    // around it: the target 1 away closes shell 4.
    const std::string rec = dir.read("outer_temp.txt");
    EXPECT_EQ(rec.substr(0, rec.find('\r')), "1,0,0,0,1,1,1,1,4");
    EXPECT_TRUE(prompt.shown.empty());
    // A bad bin size is reported and nothing is written.
    ctx.Text2 = "outer.txt";
    AddFilename(ctx);
    ctx.Text2 = "edj.txt";
    AddFilename(ctx);
    EXPECT_FALSE(cmdEnamThickCalc(ctx, {"abc"}));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("bin size"), std::string::npos);
    EXPECT_EQ(list.NoFiles, 2);
    EXPECT_FALSE(prompt.busyNow);
}

// The distance file and its search record are one result. A disk that fills between
// their sizes leaves both old files byte for byte and no temporary; the temporaries of
// a killed run go with the next run.
TEST(EnamelThickness, DistanceAndRecordFilesAreReplacedAsAPairOrNotAtAll) {
    ptcloudtest::CmdRun r;
    r.add("outer.txt", "0,0,0\r\n1,0,0\r\n3,4,0\r\n");
    r.add("edj.txt", "0,0,1\r\n3,4,2\n");
    ASSERT_TRUE(cmdEnamThickCalc(r.ctx, {}));
    const std::string dist = r.dir.read("outer_dist.txt"), rec = r.dir.read("outer_temp.txt");
    ASSERT_LT(dist.size() + 2, rec.size());
    r.dir.write("outer_dist.txt", "old distances\r\n");
    r.dir.write("outer_temp.txt", "old record\r\n");
    const std::size_t files = r.dir.fileCount();
    r.add("outer.txt");
    r.add("edj.txt");
    {
        trelvik::testing::FileSizeLimit limit((dist.size() + rec.size()) / 2);
        EXPECT_FALSE(cmdEnamThickCalc(r.ctx, {}));
    }
    ASSERT_EQ(r.prompt.shown.size(), 2u);  // replacing the pair was agreed, then the write failed
    EXPECT_EQ(r.prompt.shown[0].title, "Replace files");
    EXPECT_NE(r.prompt.shown[1].text.find("outer_temp.txt"), std::string::npos) << r.prompt.shown[1].text;
    EXPECT_EQ(r.dir.read("outer_dist.txt"), "old distances\r\n");
    EXPECT_EQ(r.dir.read("outer_temp.txt"), "old record\r\n");
    EXPECT_EQ(r.dir.fileCount(), files);

    r.dir.write(trelvik::testing::endedWriterFile("outer_dist.txt"), "partial");
    r.dir.write(trelvik::testing::endedWriterFile("outer_temp.txt"), "partial");
    ASSERT_TRUE(cmdEnamThickCalc(r.ctx, {}));
    EXPECT_EQ(r.dir.read("outer_dist.txt"), dist);
    EXPECT_EQ(r.dir.read("outer_temp.txt"), rec);
    EXPECT_EQ(r.dir.fileCount(), files);
}

TEST(NearestForest, PartsAnswerLikeAllPairs) {
    // Many equal coordinates on the cutting axis, hints near and far.
    PointList target = randomCloud(3000, 5, 0, 1);
    for (auto& q : target) q.x = std::round(q.x * 4) / 4;
    const NearestForest forest(target);
    const PointList queries = randomCloud(300, 6, -0.5, 1.5);
    std::int64_t hint = -1;
    for (const auto& p : queries) {
        double d2 = 0;
        const std::uint32_t i = forest.nearest(p, hint, d2);
        double best = 1e300;
        for (const auto& q : target)
            best = std::min(best, (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y) + (p.z - q.z) * (p.z - q.z));
        EXPECT_EQ(d2, best);
        const auto& q = target[i];
        EXPECT_EQ((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y) + (p.z - q.z) * (p.z - q.z), best);
        hint = (hint + 977) % 3000;
        std::vector<std::uint32_t> near;
        forest.within(p, 0.01, near);
        std::size_t count = 0;
        for (const auto& t : target)
            if ((p.x - t.x) * (p.x - t.x) + (p.y - t.y) * (p.y - t.y) + (p.z - t.z) * (p.z - t.z) <= 0.01) ++count;
        EXPECT_EQ(near.size(), count);
    }
}
