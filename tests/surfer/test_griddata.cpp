// Gridding: data-file reading, exclusion filters, lattice rules and the five methods,
// checked against exact planes, symmetry and brute-force nearest neighbours.
#include "surfer/griddata.h"
#include "surfer/griddataexclusion.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;
using surfer::GridAlgorithm;
using trelvik::PointList;

namespace {

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("trelvik_griddata_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string file(const std::string& name, const std::string& content) const {
        const std::string p = (path_ / name).string();
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    std::string path(const std::string& name) const { return (path_ / name).string(); }
private:
    fs::path path_;
};

std::string xyzText(const PointList& pts) {
    std::string s;
    char buf[128];
    for (const auto& p : pts) {
        std::snprintf(buf, sizeof buf, "%.17g,%.17g,%.17g\r\n", p.x, p.y, p.z);
        s += buf;
    }
    return s;
}

PointList randomPoints(int n, double x0, double x1, double y0, double y1, unsigned seed,
                       const std::function<double(double, double)>& f) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> ux(x0, x1), uy(y0, y1);
    PointList pts;
    for (int i = 0; i < n; ++i) {
        const double x = ux(rng), y = uy(rng);
        pts.push_back({x, y, f(x, y)});
    }
    return pts;
}

surfer::GridDataRequest request(const std::string& file, GridAlgorithm a, double x0, double x1, double y0, double y1,
                                int cols, int rows) {
    surfer::GridDataRequest r;
    r.dataFile = file;
    r.algorithm = a;
    r.lattice.xMin = x0;
    r.lattice.xMax = x1;
    r.lattice.yMin = y0;
    r.lattice.yMax = y1;
    r.lattice.numCols = cols;
    r.lattice.numRows = rows;
    return r;
}

} // namespace

TEST(ExclusionFilter, ComparisonsCombineWithAndBeforeOr) {
    const surfer::ExclusionFilter blank("Z > 1E38");
    EXPECT_TRUE(blank.excludes(0, 0, 1.70141e38));
    EXPECT_FALSE(blank.excludes(0, 0, 5));

    const surfer::ExclusionFilter f("x < 0 or y >= 2 and z <> 1");
    EXPECT_TRUE(f.excludes(-1, 0, 1));   // first alternative
    EXPECT_TRUE(f.excludes(1, 2, 0));    // second: both parts hold
    EXPECT_FALSE(f.excludes(1, 2, 1));   // z = 1 fails the and
    EXPECT_FALSE(f.excludes(1, 1, 0));

    const surfer::ExclusionFilter g("(X < 0 | Y < 0) & Z = -2.5e0");
    EXPECT_TRUE(g.excludes(1, -1, -2.5));
    EXPECT_FALSE(g.excludes(1, -1, 2.5));
    EXPECT_FALSE(g.excludes(1, 1, -2.5));

    EXPECT_TRUE(surfer::ExclusionFilter("").empty());
    EXPECT_THROW(surfer::ExclusionFilter("Z >"), trelvik::Error);
    EXPECT_THROW(surfer::ExclusionFilter("W > 1"), trelvik::Error);
    EXPECT_THROW(surfer::ExclusionFilter("(Z > 1"), trelvik::Error);
    EXPECT_THROW(surfer::ExclusionFilter("1 < 2"), trelvik::Error);
}

TEST(GridDataInput, SkipsNonRecordsDropsBlanksAndAveragesDuplicates) {
    TempDir dir;
    const std::string f = dir.file("pts.dat",
                                   "3\r\n"                       // a count line: too few columns
                                   "x,y,z,w\r\n"                 // header
                                   "\r\n"
                                   "0 0 9 1\r\n"
                                   "1,0,9,2\r\n"
                                   "1\t0\t9\t4\r\n"              // same x, y as the line before
                                   "0,1,9,1.70141E+38\r\n"        // blank node
                                   "2;2;9;+5\n"
                                   "-1E-400,3,9,7\n"            // x below the smallest double: 0
                                   "5,5,9,-1e3");
    const auto d = surfer::readGridDataPoints(f, 1, 2, 4, surfer::ExclusionFilter("z < -100"));
    EXPECT_EQ(d.records, 7);
    EXPECT_EQ(d.blankDropped, 1);
    EXPECT_EQ(d.excluded, 1);
    EXPECT_EQ(d.duplicates, 1);
    ASSERT_EQ(d.points.size(), 4u);
    EXPECT_DOUBLE_EQ(d.points[0].z, 1);
    EXPECT_EQ(d.points[1].x, 0);
    EXPECT_DOUBLE_EQ(d.points[1].z, 7);
    EXPECT_DOUBLE_EQ(d.points[2].x, 1);
    EXPECT_DOUBLE_EQ(d.points[2].z, 3);  // mean of 2 and 4
    EXPECT_DOUBLE_EQ(d.points[3].z, 5);

    // A large file read in pieces on several threads: the same points and counts as one
    // pass, also where pieces split records of the same x, y.
    std::string many = "x y z\r\n";
    for (int i = 0; i < 40000; ++i) {
        const int c = (i * 7919) % 3001;
        many += std::to_string(c % 97 * 0.125) + (i % 2 ? "," : " ") + std::to_string(c / 97 * 0.25) + "\t" +
                (i % 53 == 0 ? std::string("1.70141E+38") : std::to_string(std::sin(i * 0.37))) + (i % 3 ? "\r\n" : "\n");
        if (i % 997 == 0) many += "a header again\n\n";
    }
    const std::string big = dir.file("many.dat", many);
    const surfer::ExclusionFilter filter("z < -0.9");
    const auto whole = surfer::readGridDataPoints(big, 1, 2, 3, filter, many.size() + 1);
    const auto pieces = surfer::readGridDataPoints(big, 1, 2, 3, filter, 4096);
    EXPECT_EQ(pieces.records, whole.records);
    EXPECT_EQ(pieces.blankDropped, whole.blankDropped);
    EXPECT_EQ(pieces.excluded, whole.excluded);
    EXPECT_EQ(pieces.duplicates, whole.duplicates);
    ASSERT_EQ(pieces.points.size(), whole.points.size());
    EXPECT_EQ(std::memcmp(pieces.points.data(), whole.points.data(), whole.points.size() * sizeof(trelvik::PointXYZ)), 0);
    EXPECT_GT(whole.duplicates, 30000);

    try {
        surfer::readGridDataPoints(dir.path("missing.dat"), 1, 2, 3, surfer::ExclusionFilter());
        FAIL();
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("missing.dat"), std::string::npos);
    }
    const std::string empty = dir.file("empty.dat", "a,b,c\r\n");
    try {
        surfer::gridData(request(empty, GridAlgorithm::Kriging, 0, 1, 0, 1, 3, 3));
        FAIL();
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("empty.dat"), std::string::npos);
    }
}

TEST(GridDataInput, LatticeFromLimitsCountsAndSpacings) {
    const PointList pts{{1, 2, 0}, {4, 2, 0}, {1, 7, 0}};
    surfer::LatticeRequest r;
    r.xSpacing = 0.5;
    r.ySpacing = 2;  // range 5 / 2 = 2.5 -> Round to even 2 -> 3 rows, yMax moves to 5
    auto g = surfer::resolveLattice(r, pts, "f");
    EXPECT_EQ(g.cols, 7);
    EXPECT_DOUBLE_EQ(g.xMin, 1);
    EXPECT_DOUBLE_EQ(g.xMax, 4);
    EXPECT_EQ(g.rows, 3);
    EXPECT_DOUBLE_EQ(g.yMax, 6);

    surfer::LatticeRequest given;
    given.xMin = 0;
    given.xMax = 10;
    given.yMin = -1;
    given.yMax = 1;
    given.numCols = 10.5;  // halves go to the even count
    given.numRows = 3.6;
    g = surfer::resolveLattice(given, pts, "f");
    EXPECT_EQ(g.cols, 10);
    EXPECT_EQ(g.rows, 4);
    EXPECT_DOUBLE_EQ(g.xMax, 10);

    surfer::LatticeRequest none;
    EXPECT_THROW(surfer::resolveLattice(none, pts, "f"), trelvik::Error);
    surfer::LatticeRequest one;
    one.numCols = 1;
    one.numRows = 5;
    EXPECT_THROW(surfer::resolveLattice(one, pts, "f"), trelvik::Error);
}

TEST(GridDataMethods, TriangulationReproducesPlaneInsideHullAndBlanksOutside) {
    TempDir dir;
    auto plane = [](double x, double y) { return 2 + 0.5 * x - 0.25 * y; };
    PointList pts = randomPoints(400, 1, 9, 1, 9, 7, plane);
    for (double c : {1.0, 9.0}) {  // corners make the hull the square [1, 9]^2
        pts.push_back({c, 1, plane(c, 1)});
        pts.push_back({c, 9, plane(c, 9)});
    }
    const std::string f = dir.file("plane.dat", xyzText(pts));
    const auto res = surfer::gridData(request(f, GridAlgorithm::Triangulation, 0, 10, 0, 10, 41, 41));
    int inside = 0;
    for (int r = 0; r < 41; ++r)
        for (int c = 0; c < 41; ++c) {
            const double x = res.grid.x(c), y = res.grid.y(r);
            const bool in = x >= 1 - 1e-12 && x <= 9 + 1e-12 && y >= 1 - 1e-12 && y <= 9 + 1e-12;
            if (in) {
                ++inside;
                ASSERT_NEAR(res.grid.at(c, r), plane(x, y), 1e-9) << c << "," << r;
            } else {
                ASSERT_TRUE(res.grid.blank(c, r)) << c << "," << r;
            }
        }
    EXPECT_EQ(inside, 33 * 33);  // nodes on the hull's edges are inside

    const std::string line = dir.file("line.dat", "0,0,1\n1,1,2\n2,2,3\n");
    EXPECT_THROW(surfer::gridData(request(line, GridAlgorithm::Triangulation, 0, 2, 0, 2, 3, 3)), trelvik::Error);
}

TEST(GridDataMethods, RegressionRecoversPlanesAndQuadraticsFarFromOrigin) {
    TempDir dir;
    auto plane = [](double x, double y) { return 250.5 - 0.125 * y + 0.75 * x; };
    const PointList pts = randomPoints(500, 1000, 1010, -2000, -1990, 3, plane);
    const std::string f = dir.file("p.dat", xyzText(pts));
    auto req = request(f, GridAlgorithm::PolynomialRegression, 1000, 1010, -2000, -1990, 11, 11);
    const auto res = surfer::gridData(req);
    ASSERT_TRUE(res.regression);
    EXPECT_NEAR(res.regression->C, 250.5, 1e-7);
    EXPECT_NEAR(res.regression->B, -0.125, 1e-10);
    EXPECT_NEAR(res.regression->A, 0.75, 1e-10);
    for (int r = 0; r < 11; ++r)
        for (int c = 0; c < 11; ++c)
            ASSERT_NEAR(res.grid.at(c, r), plane(res.grid.x(c), res.grid.y(r)), 1e-9);

    // Exactly three points: the plane through them (the capture-area top).
    const std::string three = dir.file("three.dat", "0 0 1\n2 0 3\n0 4 -1\n");
    const auto fit3 = surfer::fitPolynomial(surfer::readGridDataPoints(three, 1, 2, 3, {}).points, 1, 1, 1, three);
    EXPECT_NEAR(fit3.C, 1, 1e-12);
    EXPECT_NEAR(fit3.A, 1, 1e-12);
    EXPECT_NEAR(fit3.B, -0.5, 1e-12);

    // Order 2 reproduces a quadratic exactly, in the data's own coordinates.
    auto quad = [](double x, double y) { return 1 + 2 * x - 3 * y + 0.5 * x * x - 0.25 * x * y + 0.125 * y * y; };
    const PointList q = randomPoints(60, 5, 8, -3, 1, 11, quad);
    const auto fit = surfer::fitPolynomial(q, 2, 2, 2, "q");
    ASSERT_EQ(fit.terms.size(), 6u);
    const double expected[6] = {1, 2, -3, 0.5, -0.25, 0.125};  // 1, x, y, x2, xy, y2
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(fit.terms[static_cast<std::size_t>(k)].coefficient, expected[k], 1e-8) << k;
    EXPECT_NEAR(fit.residualSumOfSquares, 0, 1e-16);

    // Collinear points cannot fix a plane.
    EXPECT_THROW(surfer::fitPolynomial(PointList{{0, 0, 0}, {1, 1, 1}, {2, 2, 5}}, 1, 1, 1, "c"), trelvik::Error);
    EXPECT_THROW(surfer::fitPolynomial(PointList{{0, 0, 0}, {1, 0, 1}}, 1, 1, 1, "c"), trelvik::Error);
}

TEST(GridDataMethods, KrigingAndInverseDistanceAreExactAtDataAndSymmetric) {
    TempDir dir;
    // Twelve points mirrored about x = 5 with mirrored heights; nodes every 0.5 hit the
    // data points exactly.
    PointList pts;
    const double half[6][3] = {{1, 1, 3}, {2, 4, -1}, {3.5, 2.5, 7}, {4, 6, 2}, {1.5, 7, 0.5}, {3, 8.5, 4}};
    for (const auto& h : half) {
        pts.push_back({h[0], h[1], h[2]});
        pts.push_back({10 - h[0], h[1], h[2]});
    }
    const std::string f = dir.file("sym.dat", xyzText(pts));
    for (auto a : {GridAlgorithm::Kriging, GridAlgorithm::InverseDistance}) {
        const auto res = surfer::gridData(request(f, a, 0, 10, 0, 10, 21, 21));
        const auto& g = res.grid;
        for (const auto& p : pts)
            EXPECT_DOUBLE_EQ(g.at(static_cast<int>(p.x * 2), static_cast<int>(p.y * 2)), p.z);
        double lo = 1e300, hi = -1e300;
        for (int r = 0; r < 21; ++r)
            for (int c = 0; c < 21; ++c) {
                ASSERT_NEAR(g.at(c, r), g.at(20 - c, r), 1e-9) << static_cast<int>(a) << " " << c << "," << r;
                lo = std::min(lo, g.at(c, r));
                hi = std::max(hi, g.at(c, r));
            }
        if (a == GridAlgorithm::InverseDistance) {  // a weighted mean stays within the data
            EXPECT_GE(lo, -1);
            EXPECT_LE(hi, 7);
        }
    }

    // Kriging weights sum to one: constant data give a constant grid.
    PointList flat = randomPoints(200, 0, 10, 0, 10, 5, [](double, double) { return 4.25; });
    const std::string ff = dir.file("flat.dat", xyzText(flat));
    const auto k = surfer::gridData(request(ff, GridAlgorithm::Kriging, 0, 10, 0, 10, 15, 15));
    for (double z : k.grid.z) ASSERT_NEAR(z, 4.25, 1e-9);
}

TEST(GridDataMethods, NearestNeighbourMatchesBruteForce) {
    TempDir dir;
    const PointList pts = randomPoints(300, 0, 1, 0, 1, 9, [](double x, double y) { return x * 100 + y; });
    const std::string f = dir.file("nn.dat", xyzText(pts));
    const auto res = surfer::gridData(request(f, GridAlgorithm::NearestNeighbor, 0, 1, 0, 1, 37, 29));
    for (int r = 0; r < 29; ++r)
        for (int c = 0; c < 37; ++c) {
            double best = 1e300, z = 0;
            for (const auto& p : pts) {
                const double d = std::hypot(p.x - res.grid.x(c), p.y - res.grid.y(r));
                if (d < best) {
                    best = d;
                    z = p.z;
                }
            }
            ASSERT_EQ(res.grid.at(c, r), z);
        }
}
