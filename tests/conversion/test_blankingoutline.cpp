// Blanking outline: traced order on a hand-checkable ring of points, enclosure of
// whole clouds, the limits and the fill points.
#include "conversion/blankingoutline.h"
#include "formats/blnfile.h"
#include "formats/pointtext.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace trelvik;
using namespace trelvik::conversion;

namespace {

const double kPi = 3.14159265358979323846;

// Winding number of the closed polygon around (x, y); 0 outside.
int winding(const formats::PointXYList& poly, double x, double y) {
    int w = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const auto& a = poly[i];
        const auto& b = poly[(i + 1) % poly.size()];
        const double cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y) {
            if (b.y > y && cross > 0) ++w;
        } else if (b.y <= y && cross < 0) {
            --w;
        }
    }
    return w;
}

// Inside the closed polygon, or on one of its edges.
bool enclosed(const formats::PointXYList& poly, double x, double y) {
    if (winding(poly, x, y) != 0) return true;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const auto& a = poly[i];
        const auto& b = poly[(i + 1) % poly.size()];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const double t = len > 0 ? ((x - a.x) * (b.x - a.x) + (y - a.y) * (b.y - a.y)) / (len * len) : 0;
        const double px = a.x + std::clamp(t, 0.0, 1.0) * (b.x - a.x), py = a.y + std::clamp(t, 0.0, 1.0) * (b.y - a.y);
        if (std::hypot(x - px, y - py) < 1e-9) return true;
    }
    return false;
}

double signedArea(const formats::PointXYList& poly) {
    double a = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const auto& p = poly[i];
        const auto& q = poly[(i + 1) % poly.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

// Nodes (x0 + i s, y0 + j s), i = 0 .. ni, j = 0 .. nj.
PointList lattice(int ni, int nj, double s, double x0 = 0, double y0 = 0) {
    PointList pts;
    for (int i = 0; i <= ni; ++i)
        for (int j = 0; j <= nj; ++j) pts.push_back({x0 + i * s, y0 + j * s, 0});
    return pts;
}

PointList disc(int n, double radius, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-radius, radius);
    PointList pts;
    while (static_cast<int>(pts.size()) < n) {
        const double x = u(rng), y = u(rng);
        if (x * x + y * y <= radius * radius) pts.push_back({x + 3, y + 2, x * y});
    }
    return pts;
}

} // namespace

TEST(BlankingOutline, WalksARingOfPointsClockwiseFromTheLowerLeft) {
    // 40 points counter-clockwise on a circle, neighbours 0.157 apart; with bins of
    // 0.15 only the next point on either side is in reach.
    PointList pts;
    for (int k = 0; k < 40; ++k) pts.push_back({1 + std::cos(2 * kPi * k / 40), 1 + std::sin(2 * kPi * k / 40), 0});
    OutlineOptions o;
    o.binSize = 0.15;
    const OutlineResult r = traceBlankingOutline(pts, o);
    // The start point closes the outline as soon as it lies in the 5 x 5 bins around the
    // current vertex (two bins reach two points back), so one point may be left out.
    ASSERT_GE(r.vertices.size(), 38u);
    ASSERT_LE(r.vertices.size(), 40u);
    // The start: bin rows are 0.15 high from ylo = -0.3, so the lowest occupied row
    // (y from 0 to 0.15) holds points 27 to 33; the first occupied bin of that row, from
    // the left, holds point 27 (x = 0.546) alone.
    EXPECT_EQ(r.vertices[0], 27u);
    for (std::size_t i = 1; i < r.vertices.size(); ++i) EXPECT_EQ(r.vertices[i], (r.vertices[i - 1] + 39) % 40) << i;
    EXPECT_LT(signedArea(r.ring), 0);  // clockwise
    EXPECT_EQ(r.growths, 0);
    EXPECT_EQ(r.binSize, 0.15);
}

TEST(BlankingOutline, OffsetRingEnclosesEveryPointOfACloud) {
    const PointList pts = disc(4000, 1.0, 3);
    for (double f : {0.25, 0.1}) {
        OutlineOptions o;
        o.binSize = 0.12;
        o.offsetFactor = f;
        const OutlineResult r = traceBlankingOutline(pts, o);
        ASSERT_GT(r.vertices.size(), 10u);
        for (std::size_t i = 0; i < pts.size(); ++i)
            ASSERT_NE(winding(r.ring, pts[i].x, pts[i].y), 0) << "point " << i << " f " << f;
        // Each ring vertex lies f * b from its outline vertex, outside the outline.
        formats::PointXYList outline;
        for (auto v : r.vertices) outline.push_back({pts[v].x, pts[v].y});
        for (std::size_t i = 0; i < r.ring.size(); ++i)
            EXPECT_NEAR(std::hypot(r.ring[i].x - outline[i].x, r.ring[i].y - outline[i].y), f * 0.12, 1e-12);
        EXPECT_LT(signedArea(r.ring), signedArea(outline));  // both clockwise; the ring larger
        // The traced outline hugs the disc's edge.
        for (const auto& p : outline) EXPECT_GT(std::hypot(p.x - 3, p.y - 2), 1.0 - 0.12);
    }
}

TEST(BlankingOutline, StraightRunsOfALatticeAreOffsetOutwards) {
    const PointList pts = lattice(30, 20, 0.05);
    OutlineOptions o;
    o.binSize = 0.05;
    o.offsetFactor = 0.5;
    const OutlineResult r = traceBlankingOutline(pts, o);
    for (const auto& p : pts) ASSERT_NE(winding(r.ring, p.x, p.y), 0);
    for (const auto& q : r.ring) {
        // Every ring vertex lies outside the rectangle of the points.
        const bool outside = q.x < 0 || q.x > 1.5 || q.y < 0 || q.y > 1.0;
        EXPECT_TRUE(outside) << q.x << "," << q.y;
    }
}

TEST(BlankingOutline, GivesUpWithTheMessagesOfItsLimits) {
    OutlineOptions o;
    o.binSize = 0.1;
    try {
        traceBlankingOutline({{1, 1, 1}}, o);
        FAIL();
    } catch (const OutlineError& e) {
        EXPECT_EQ(e.code(), OutlineError::Code::TooManyDeadEnds);
        EXPECT_STREQ(e.what(), "Error - more than 1,000 points excluded; remove stray points in point cloud: E004");
    }
    const PointList pts = disc(3000, 1.0, 5);
    o.maxVertices = 20;
    try {
        traceBlankingOutline(pts, o);
        FAIL();
    } catch (const OutlineError& e) {
        EXPECT_EQ(e.code(), OutlineError::Code::TooManyVertices);
        EXPECT_STREQ(e.what(), "Error - more than 20 points in blanking file; increase bin size: E003");
    }
    // Growing bins: each growth adds a third of the first bin size, up to the cap.
    o.onTooLong = TooLong::GrowBins;
    o.maxVertices = 60;
    o.maxGrowths = 50;
    const OutlineResult r = traceBlankingOutline(pts, o);
    EXPECT_GT(r.growths, 0);
    EXPECT_NEAR(r.binSize, 0.1 + r.growths * 0.1 / 3, 1e-12);
    EXPECT_LE(r.vertices.size(), 60u);
    o.maxGrowths = 0;
    try {
        traceBlankingOutline(pts, o);
        FAIL();
    } catch (const OutlineError& e) {
        EXPECT_EQ(e.code(), OutlineError::Code::GrowthCap);
    }
    EXPECT_THROW(traceBlankingOutline({}, o), Error);
    o.binSize = 0;
    EXPECT_THROW(traceBlankingOutline(pts, o), Error);
}

TEST(BlankingOutline, FillPointsOfBothRules) {
    // A square cloud with a hole in the middle, 0..2 in x and y.
    PointList pts;
    for (int i = 0; i <= 40; ++i)
        for (int j = 0; j <= 40; ++j) {
            const double x = i * 0.05, y = j * 0.05;
            if (std::fabs(x - 1) < 0.5 && std::fabs(y - 1) < 0.5) continue;
            pts.push_back({x, y, 2 + x});
        }
    OutlineOptions o;
    o.binSize = 0.1;
    o.fill = FillRule::Sparse;
    const OutlineResult sparse = traceBlankingOutline(pts, o);
    o.fill = FillRule::EveryEmptyBin;
    const OutlineResult every = traceBlankingOutline(pts, o);
    EXPECT_EQ(sparse.zmin, 2);
    // Lattice: xlo = -0.2, 25 columns and rows; 20 x 20 bins hold points except the hole.
    auto inHole = [](double x, double y) { return std::fabs(x - 1) < 0.5 && std::fabs(y - 1) < 0.5; };
    int everyInHole = 0;
    for (const auto& p : every.fill) {
        EXPECT_EQ(p.z, 2);
        EXPECT_TRUE(p.x < 0 || p.x > 2 || p.y < 0 || p.y > 2 || inHole(p.x, p.y)) << p.x << "," << p.y;
        everyInHole += inHole(p.x, p.y);
    }
    EXPECT_EQ(every.fill.size(), 25u * 25u - 21u * 21u + static_cast<unsigned>(everyInHole));
    EXPECT_GT(everyInHole, 0);
    for (const auto& p : sparse.fill) {
        // Sparse fill: bins (c, r) with c, r in 2, 5, 8, ...; centres at xlo + (c - 0.5) b.
        const double c = (p.x + 0.2) / 0.1 + 0.5, r = (p.y + 0.2) / 0.1 + 0.5;
        EXPECT_NEAR(std::fmod(c - 2 + 1e-9, 3.0), 0, 1e-6);
        EXPECT_NEAR(std::fmod(r - 2 + 1e-9, 3.0), 0, 1e-6);
        // Its whole 3 x 3 neighbourhood is empty: no point within 1.5 bins in x and y.
        for (const auto& q : pts) ASSERT_FALSE(std::fabs(q.x - p.x) < 0.15 && std::fabs(q.y - p.y) < 0.15);
    }
    EXPECT_FALSE(sparse.fill.empty());
    EXPECT_LT(sparse.fill.size(), every.fill.size());
}

TEST(BlankingOutline, WritesAClosedSectionThatTheBlankingReaderTakes) {
    trelvik::testing::TempFolder tmp;
    const formats::PointXYList ring{{0, 0}, {0, 1.5}, {2, 1}, {2.25, -0.5}};
    writeBlankingOutline(tmp.path("pblnpts.bln"), ring);
    EXPECT_EQ(tmp.read("pblnpts.bln"), "5,0\r\n0,0\r\n0,1.5\r\n2,1\r\n2.25,-0.5\r\n0,0\r\n");
    const auto back = formats::readBlnFile(tmp.path("pblnpts.bln"));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].vertices.size(), 5u);
}

TEST(BlankingOutline, EnclosesDenseLatticesAndRandomCloudsAtEachWindowsDefaults) {
    // Conversion: bins of 1.5 grid intervals (0.045 at the default 0.03), offset 0.25, the
    // outline checked to go round; point clouds: bins of 0.1 through the points themselves.
    // Bins from 1.5 to 12 point spacings: coarse bins once closed a sliver by the start.
    for (const bool conversion : {true, false}) {
        OutlineOptions o;
        o.binSize = conversion ? 0.045 : 0.1;
        o.offsetFactor = conversion ? 0.25 : 0;
        o.onTooLong = conversion ? TooLong::GrowBins : TooLong::Fail;
        o.checkCoverage = conversion;
        std::vector<PointList> clouds;
        for (const double f : {1.5, 3.0, 6.0, 12.0})
            clouds.push_back(lattice(static_cast<int>(40 * f), static_cast<int>(25 * f), o.binSize / f, 1, 2));
        // Random clouds 3 to 6 mean spacings to a bin. Through the points themselves their
        // ragged edge leaves points a little outside: there the outline must still go round.
        for (const int n : {12000, 40000}) clouds.push_back(disc(n, 20 * o.binSize, static_cast<unsigned>(n)));
        for (std::size_t k = 0; k < clouds.size(); ++k) {
            const OutlineResult r = traceBlankingOutline(clouds[k], o);
            std::size_t outside = 0;
            for (const auto& p : clouds[k]) outside += !enclosed(r.ring, p.x, p.y);
            const std::size_t allowed = conversion || k < 4 ? 0 : clouds[k].size() / 1000;
            EXPECT_LE(outside, allowed) << (conversion ? "conversion" : "point clouds") << ", cloud " << k << ", "
                                        << r.vertices.size() << " vertices";
        }
    }
    // A dense patch inside the start's 5 x 5 bins: the walk can never leave them, so it
    // closes beside the start; larger bins only repeat that, smaller ones go round.
    const PointList patch = lattice(100, 100, 0.01);
    OutlineOptions o;
    o.binSize = 0.5;
    o.offsetFactor = 0.25;
    o.onTooLong = TooLong::GrowBins;
    o.checkCoverage = true;
    const OutlineResult r = traceBlankingOutline(patch, o);
    EXPECT_LT(r.binSize, 0.5);
    for (const auto& p : patch) ASSERT_TRUE(enclosed(r.ring, p.x, p.y));
}

TEST(BlankingOutline, ALoopClosedNearTheStartIsCaughtWhenAsked) {
    // The bundled sample's points lie about 0.13 apart; with bins of 0.15 the reach is
    // 0.225 and the walk meets its start again after eleven steps near the start.
    const PointList pts =
        formats::readPointText(std::string(TRELVIK_SOURCE_DIR) + "/samples/molar_points.txt");
    OutlineOptions o;
    o.binSize = 0.15;
    const OutlineResult loose = traceBlankingOutline(pts, o);
    EXPECT_LT(loose.vertices.size(), 20u);
    o.checkCoverage = true;
    try {
        traceBlankingOutline(pts, o);
        FAIL();
    } catch (const OutlineError& e) {
        EXPECT_EQ(e.code(), OutlineError::Code::PartOfCloud);
    }
    o.onTooLong = TooLong::GrowBins;
    o.offsetFactor = 0.25;
    const OutlineResult grown = traceBlankingOutline(pts, o);
    EXPECT_GT(grown.growths, 0);
    // A sparse, ragged edge: the outline still leaves a handful of points outside.
    int outside = 0;
    for (const auto& p : pts) outside += winding(grown.ring, p.x, p.y) == 0;
    EXPECT_LT(outside, 10);

    // A stray point far from the tooth stays outside without failing the outline.
    PointList withStray = disc(3000, 1.0, 8);
    withStray.push_back({3, 5, 0});
    o.binSize = 0.12;
    o.onTooLong = TooLong::Fail;
    const OutlineResult r = traceBlankingOutline(withStray, o);
    EXPECT_EQ(winding(r.ring, 3, 5), 0);
    for (std::size_t i = 0; i + 1 < withStray.size(); ++i)
        ASSERT_NE(winding(r.ring, withStray[i].x, withStray[i].y), 0);
}
