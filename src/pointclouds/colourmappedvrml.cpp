#include "pointclouds/colourmappedvrml.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/vrml.h"
#include "formats/xyzpointfile.h"
#include "formats/xyztfile.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace trelvik::ptcloud {

namespace {
constexpr double kStep = 0.1;
constexpr double kTolerance = 0.0005;

struct Cell {
    long long x, y, z;
    bool operator==(const Cell&) const = default;
};
struct CellHash {
    std::size_t operator()(const Cell& c) const {
        std::size_t h = static_cast<std::size_t>(c.x) * 0x9E3779B97F4A7C15ull;
        h ^= static_cast<std::size_t>(c.y) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
        h ^= static_cast<std::size_t>(c.z) + 0x94D049BB133111EBull + (h << 6) + (h >> 2);
        return h;
    }
};

long long cellOf(double v) {
    const double c = std::floor(v / kTolerance);
    if (!(std::abs(c) < 4e18)) throw Error("A coordinate of " + text::CStr(v) + " is too large to match points by.");
    return static_cast<long long>(c);
}

bool near(const PointXYZ& a, const PointXYZ& b) {
    return std::abs(a.x - b.x) < kTolerance && std::abs(a.y - b.y) < kTolerance && std::abs(a.z - b.z) < kTolerance;
}
} // namespace

std::array<double, 3> BandColour(double p) {
    // Held within 0..1: a band's end computed as 1 - 1.0000000000000004 is no colour.
    const auto c = [](double v) { return std::clamp(v, 0.0, 1.0); };
    if (p <= 1.0 / 5) return {1, c(5 * p), 0};
    if (p <= 2.0 / 5) return {c(1 - 5 * (p - 1.0 / 5)), 1, 0};
    if (p <= 3.0 / 5) return {0, 1, c(5 * (p - 2.0 / 5))};
    if (p <= 4.0 / 5) return {0, c(1 - 5 * (p - 3.0 / 5)), 1};
    return {c(5 * (p - 4.0 / 5)), 0, 1};
}

ColourClasses MakeColourClasses(const std::vector<double>& t) {
    if (t.empty()) throw Error("There are no values to colour by.");
    for (std::size_t i = 0; i < t.size(); ++i)
        if (!std::isfinite(t[i])) throw Error("The value t of point " + std::to_string(i + 1) + " is not a number.");
    const auto [lo, hi] = std::minmax_element(t.begin(), t.end());
    ColourClasses c;
    c.TLo = kStep * std::floor(*lo / kStep);
    c.THi = kStep * (std::floor(*hi / kStep) + 1);
    const double n = text::Round((c.THi - c.TLo) / kStep);
    if (!(n <= 32767))
        throw Error("The values run from " + text::CStr(*lo) + " to " + text::CStr(*hi) + ": more than 32,767 colour "
                    "classes of 0.1.");
    c.NClasses = std::max(1, static_cast<int>(n));
    for (int k = 1; k <= c.NClasses; ++k) c.ClassColour.push_back(BandColour(double(k) / c.NClasses));
    return c;
}

int PointClass(const ColourClasses& c, double t) {
    const double k = std::floor((t - c.TLo) / kStep) + 1;
    return static_cast<int>(std::clamp(k, 1.0, static_cast<double>(c.NClasses)));
}

std::vector<std::uint32_t> MatchVertices(const PointList& vertices, const PointList& cloud, Progress& progress) {
    const std::size_t V = vertices.size();
    std::vector<std::uint32_t> match(V, 0);
    if (V == 0) return match;
    std::unordered_map<Cell, std::vector<std::uint32_t>, CellHash> cells;
    cells.reserve(V);
    for (std::size_t v = 0; v < V; ++v)
        cells[{cellOf(vertices[v].x), cellOf(vertices[v].y), cellOf(vertices[v].z)}].push_back(
            static_cast<std::uint32_t>(v));
    std::size_t start = 0;  // the vertex matched last
    for (std::size_t i = 0; i < cloud.size(); ++i) {
        if (i % 65536 == 0) {
            checkStop(progress);
            progress.step(static_cast<long long>(i), static_cast<long long>(cloud.size()));
        }
        const PointXYZ& p = cloud[i];
        // Surfaces that list their points as the cloud does match at once.
        std::size_t best = V;
        if (near(vertices[start], p)) best = start;
        else if (start + 1 < V && near(vertices[start + 1], p)) best = start + 1;
        else {
            std::size_t bestOffset = V;
            const Cell c{cellOf(p.x), cellOf(p.y), cellOf(p.z)};
            for (long long dx = -1; dx <= 1; ++dx)
                for (long long dy = -1; dy <= 1; ++dy)
                    for (long long dz = -1; dz <= 1; ++dz) {
                        const auto it = cells.find({c.x + dx, c.y + dy, c.z + dz});
                        if (it == cells.end()) continue;
                        for (std::uint32_t v : it->second) {
                            if (!near(vertices[v], p)) continue;
                            const std::size_t off = (v + V - start) % V;
                            if (off < bestOffset) bestOffset = off, best = v;
                        }
                    }
        }
        if (best < V) {
            match[best] = static_cast<std::uint32_t>(i + 1);
            start = best;
        }
    }
    progress.step(static_cast<long long>(cloud.size()), static_cast<long long>(cloud.size()));
    return match;
}

bool cmdPointsToWrl(PtCloudContext& ctx, const PointsToWrlOptions& o) {
    if (ctx.list.NoFiles < 2)
        return refuseListLength(ctx, "\"Convert\" takes two files, in this order: the points file, then the wrl "
                                     "polygon file.");
    return RunCommand(ctx, [&] {
        PtCloudList& l = ctx.list;
        l.FileIndex = 1;
        PointList cloud;
        std::vector<double> t;
        if (o.optXYZT) {
            formats::XyztPoints x = formats::readXyztFile(l.FileFullName[0]);
            cloud = std::move(x.points);
            t = std::move(x.t);
        } else {
            cloud = formats::readXyzPointFile(l.FileFullName[0]);
        }
        if (cloud.empty()) throw Error("The point file " + l.FileFullName[0] + " holds no points.");
        ctx.progress.pointsInFile(static_cast<long long>(cloud.size()));
        ColourClasses classes;
        if (o.optXYZT) classes = MakeColourClasses(t);
        l.FileIndex = 2;
        const formats::VrmlPolygonFile vrml = formats::readVrmlPolygonFile(l.FileFullName[1]);
        if (vrml.vertices.empty() || vrml.faceEnd.empty())
            throw Error("The VRML file " + l.FileFullName[1] + " holds no surface: its point or face list is empty.");
        const std::string out = l.FileStem[0] + "_poly" + l.FileExt[1];
        refuseOverwritingInput(l, out);
        askReplace(ctx, std::vector<std::string>{out});
        const std::vector<std::uint32_t> match = MatchVertices(vrml.vertices, cloud, ctx.progress);

        formats::VrmlColourMappedOut w;
        w.source = &vrml;
        w.withColours = o.optXYZT;
        w.points = o.chkOnlyPolyPts ? cloud : vrml.vertices;
        std::size_t first = 0;
        for (std::size_t end : vrml.faceEnd) {
            for (std::size_t k = first + 1; k + 1 < end; ++k) {
                const std::array<long long, 3> tri = {vrml.corners[first], vrml.corners[k], vrml.corners[k + 1]};
                std::array<std::uint32_t, 3> m{};
                for (int c = 0; c < 3; ++c) m[c] = match[static_cast<std::size_t>(tri[c])];
                if (!m[0] || !m[1] || !m[2]) continue;
                if (o.chkOnlyPolyPts) w.triangles.push_back({m[0] - 1LL, m[1] - 1LL, m[2] - 1LL});
                else w.triangles.push_back(tri);
                if (o.optXYZT)
                    w.colourIndex.push_back({PointClass(classes, t[m[0] - 1]) - 1, PointClass(classes, t[m[1] - 1]) - 1,
                                             PointClass(classes, t[m[2] - 1]) - 1});
            }
            first = end;
        }
        if (o.optXYZT) w.colours = classes.ClassColour;
        formats::writeVrmlColourMapped(out, w);
        l.FileOutName[0] = out;
        const std::string surface = l.FileFullName[1];
        ClearFilenames(l);
        if (w.triangles.empty()) {
            ctx.prompt.busy(false);
            ctx.prompt.message("", "No face of " + surface + " has all its corners among the points of the point "
                                   "file, so " + out + " holds no faces.");
        }
    });
}

} // namespace trelvik::ptcloud
