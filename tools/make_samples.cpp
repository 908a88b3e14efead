// Writes the bundled sample data into the folder given as the first argument:
//   molar.grd          a synthetic molar crown as a Surfer 7 binary grid
//   molar_ascii.grd    the same grid as a Surfer ASCII grid
//   molar_points.txt   scattered x,y,z points on the same surface (point file, commas)
//   molar_edj.txt      scattered x,y,z points on the enamel-dentine junction below it
//   molar.csv          the lattice as a CSV viewer point file
// The surface: a low dome with four cusps and a central fossa, heights in millimetres
// on a 0..10 x 0..8 mm lattice of 101 x 81 nodes (0.1 mm), blank outside an
// elliptical crown outline. Everything is computed from fixed numbers and a fixed
// random seed, so the files come out the same on every run.
#include "core/error.h"
#include "core/grid.h"
#include "core/points.h"
#include "core/random.h"
#include "formats/latticecsv.h"
#include "formats/surfergrid.h"
#include "formats/xyzpointfile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace trelvik;

namespace {

constexpr double kCx = 5.0, kCy = 4.0;  // crown centre
constexpr double kAx = 4.6, kAy = 3.6;  // semi-axes of the crown outline

bool insideCrown(double x, double y) {
    const double u = (x - kCx) / kAx, v = (y - kCy) / kAy;
    return u * u + v * v <= 1.0;
}

double bump(double x, double y, double x0, double y0, double height, double sigma) {
    const double dx = x - x0, dy = y - y0;
    return height * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
}

// Rounded to 0.1 micrometre, the precision of a surface scan.
double crownHeight(double x, double y) {
    double z = 1.2 * std::exp(-((x - kCx) * (x - kCx) / 16.0 + (y - kCy) * (y - kCy) / 9.0));
    z += bump(x, y, 3.1, 5.5, 1.6, 0.95);  // mesiobuccal
    z += bump(x, y, 6.9, 5.6, 1.8, 1.05);  // distobuccal
    z += bump(x, y, 3.3, 2.4, 1.4, 0.90);  // mesiolingual
    z += bump(x, y, 6.7, 2.3, 1.5, 1.00);  // distolingual
    z -= bump(x, y, 5.0, 4.0, 0.45, 0.70); // central fossa
    return std::round(z * 1e4) / 1e4;
}

Grid molarGrid() {
    Grid g(101, 81, 0.0, 10.0, 0.0, 8.0);
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) {
            const double x = g.x(c), y = g.y(r);
            g.at(c, r) = insideCrown(x, y) ? crownHeight(x, y) : kBlank;
        }
    return g;
}

// Points drawn at random (fixed seed) inside the crown outline, x and y rounded to a
// micrometre, z from the given surface.
template <class Height> PointList scatteredPoints(int count, std::uint64_t seed, Height height) {
    SeedRandom(seed);
    PointList pts;
    while (static_cast<int>(pts.size()) < count) {
        const double x = std::round((kCx - kAx + 2 * kAx * Rnd()) * 1000) / 1000;
        const double y = std::round((kCy - kAy + 2 * kAy * Rnd()) * 1000) / 1000;
        if (insideCrown(x, y)) pts.push_back({x, y, height(x, y)});
    }
    return pts;
}

// The enamel-dentine junction: the crown surface lowered by an enamel cap that is
// thicker where the crown stands higher (0.4 mm at the margin, about 0.9 mm on the
// cusps), as on a real molar; a second cloud to measure enamel thickness against.
double junctionHeight(double x, double y) {
    const double z = crownHeight(x, y);
    return std::round((z - (0.4 + 0.2 * z)) * 1e4) / 1e4;
}

// Every node, rows from the least y up and x fastest, the way the viewer writes a
// lattice; blank nodes take the crown's lowest height, as the viewer fills them on
// reading, so the file shows the crown standing on a flat base.
PointList latticePoints(const Grid& g) {
    const double floorZ = g.zMin();
    PointList pts;
    pts.reserve(g.z.size());
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            pts.push_back({std::round(g.x(c) * 1e9) / 1e9, std::round(g.y(r) * 1e9) / 1e9,
                           g.blank(c, r) ? floorZ : g.at(c, r)});
    return pts;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path dir(argv[1]);
        std::filesystem::create_directories(dir);
        const Grid g = molarGrid();
        formats::writeSurferGrid((dir / "molar.grd").string(), g, formats::SurferGridFormat::Binary7);
        formats::writeSurferGrid((dir / "molar_ascii.grd").string(), g, formats::SurferGridFormat::Ascii);
        formats::writeXyzPointFile((dir / "molar_points.txt").string(), scatteredPoints(5000, 20240611, crownHeight));
        formats::writeXyzPointFile((dir / "molar_edj.txt").string(), scatteredPoints(3000, 20240612, junctionHeight));
        formats::writeLatticeCsv((dir / "molar.csv").string(), latticePoints(g));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
