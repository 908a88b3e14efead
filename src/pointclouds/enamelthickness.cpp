#include "pointclouds/enamelthickness.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/numberrows.h"
#include "pointclouds/nearestforest.h"
#include "pointclouds/ptcloudlist.h"
#include "surfer/griddataparallel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <exception>
#include <thread>

namespace trelvik::ptcloud {

namespace {

// The distance exactly as the record defines it.
inline double dist(const PointXYZ& p, const PointXYZ& q) {
    return std::sqrt((p.y - q.y) * (p.y - q.y) + (p.x - q.x) * (p.x - q.x) + (p.z - q.z) * (p.z - q.z));
}

// Bin lattice of the search record. Bin numbers are kept as doubles (whole numbers), so
// a fine bin over a wide cloud cannot overflow an integer.
struct Lattice {
    double b = 0, x0 = 0, y0 = 0, z0 = 0;
    double bi(double v, double o) const { return std::floor((v - o) / b) + 1; }
    struct Bin {
        double i, j, k;
    };
    Bin bin(const PointXYZ& p) const { return {bi(p.x, x0), bi(p.y, y0), bi(p.z, z0)}; }
    // Distance from v to the nearer face of shell s around bin i.
    double face(double v, double o, double i, double s) const {
        const double lo = o + b * (i - 1 - s), hi = o + b * (i + s);
        return std::min(std::abs(v - lo), std::abs(v - hi));
    }
    double reach(const PointXYZ& p, const Bin& c, double s) const {
        return std::min({face(p.x, x0, c.i, s), face(p.y, y0, c.j, s), face(p.z, z0, c.k, s)});
    }
};

struct Search {
    const PointList& surface;
    const PointList& target;
    const NearestForest& forest;
    const Lattice& lat;

    bool inCube(const Lattice::Bin& c, std::uint32_t q, double s) const {
        const Lattice::Bin t = lat.bin(target[q]);
        return std::abs(t.i - c.i) <= s && std::abs(t.j - c.j) <= s && std::abs(t.k - c.k) <= s;
    }

    // True when a target point of the cube of shell s lies within `reach` of P.
    bool closes(const PointXYZ& p, const Lattice::Bin& c, double s, double d, std::uint32_t nearest,
                double reach) const {
        if (d > reach) return false;
        if (inCube(c, nearest, s)) return true;
        // The nearest point lies on an upper face, in the next bin out: another point of
        // the cube may still be near enough.
        std::vector<std::uint32_t> found;
        const double r = reach * (1 + 1e-12);
        forest.within(p, r * r, found);
        for (std::uint32_t f : found)
            if (dist(p, target[f]) <= reach && inCube(c, f, s)) return true;
        return false;
    }

    // `hint` is the nearest target of the point processed before (or -1): points in bin
    // order lie close together, so it bounds the search from the start.
    void one(std::uint32_t pi, double& d, TraceRow& row, std::int64_t& hint) const {
        const PointXYZ& p = surface[pi];
        double d2 = 0;
        const std::uint32_t idx = forest.nearest(p, hint, d2);
        hint = idx;
        d = dist(p, target[idx]);
        const Lattice::Bin c = lat.bin(p);
        // The estimate is exact up to rounding; a few steps settle it.
        double s = std::max(0.0, std::ceil((d - lat.reach(p, c, 0)) / lat.b));
        for (int k = 0; k < 8 && s > 0 && d <= lat.reach(p, c, s - 1); ++k) s -= 1;
        for (int k = 0; k < 64 && !closes(p, c, s, d, idx, lat.reach(p, c, s)); ++k) s += 1;
        row.point = pi;
        row.fx = lat.face(p.x, lat.x0, c.i, s);
        row.fy = lat.face(p.y, lat.y0, c.j, s);
        row.fz = lat.face(p.z, lat.z0, c.k, s);
        row.shell = static_cast<long long>(s);
    }
};

// Every third bit of the 21 low bits of v.
std::uint64_t spread(std::uint64_t v) {
    v &= 0x1fffff;
    v = (v | v << 32) & 0x1f00000000ffffull;
    v = (v | v << 16) & 0x1f0000ff0000ffull;
    v = (v | v << 8) & 0x100f00f00f00f00full;
    v = (v | v << 4) & 0x10c30c30c30c30c3ull;
    v = (v | v << 2) & 0x1249249249249249ull;
    return v;
}

// The points ordered along a Z-order (Morton) curve over their bounding box.
std::vector<std::uint32_t> zOrder(const PointList& pts) {
    double lo[3] = {pts[0].x, pts[0].y, pts[0].z}, hi[3] = {lo[0], lo[1], lo[2]};
    for (const auto& p : pts) {
        const double c[3] = {p.x, p.y, p.z};
        for (int a = 0; a < 3; ++a) lo[a] = std::min(lo[a], c[a]), hi[a] = std::max(hi[a], c[a]);
    }
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const double c[3] = {pts[i].x, pts[i].y, pts[i].z};
        std::uint64_t key = 0;
        for (int a = 0; a < 3; ++a) {
            const double span = hi[a] - lo[a];
            const double q = span > 0 ? (c[a] - lo[a]) / span * 2097151.0 : 0;
            key |= spread(static_cast<std::uint64_t>(std::clamp(q, 0.0, 2097151.0))) << a;
        }
        keyed[i] = {key, static_cast<std::uint32_t>(i)};
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::uint32_t> out(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i) out[i] = keyed[i].second;
    return out;
}

} // namespace

EnamelThickness NearestDistances(const PointList& surface, const PointList& target, double binSize,
                                 Progress& progress) {
    if (surface.empty()) throw Error("The surface cloud holds no points.");
    if (target.empty()) throw Error("The cloud to find distances to holds no points.");
    if (!(binSize > 0) || !std::isfinite(binSize)) throw Error("The bin size must be a number greater than 0.");
    if (surface.size() > std::numeric_limits<std::uint32_t>::max() ||
        target.size() > std::numeric_limits<std::uint32_t>::max())
        throw Error("A cloud of more than 4,294,967,295 points cannot be measured.");

    Lattice lat;
    lat.b = binSize;
    double xmin = surface[0].x, ymin = surface[0].y, zmin = surface[0].z;
    for (const PointList* c : {&surface, &target})
        for (const PointXYZ& p : *c) {
            xmin = std::min(xmin, p.x);
            ymin = std::min(ymin, p.y);
            zmin = std::min(zmin, p.z);
        }
    double span = 0;
    for (const PointList* c : {&surface, &target})
        for (const PointXYZ& p : *c) span = std::max({span, p.x - xmin, p.y - ymin, p.z - zmin});
    // Bin numbers must stay whole numbers a double holds exactly.
    if (!(span / binSize < 1e15) || !(std::abs(xmin) / binSize < 1e15) || !(std::abs(ymin) / binSize < 1e15) ||
        !(std::abs(zmin) / binSize < 1e15))
        throw Error("The bin size " + text::CStr(binSize) + " is too small for clouds of this extent.");
    lat.x0 = binSize * std::floor(xmin / binSize);
    lat.y0 = binSize * std::floor(ymin / binSize);
    lat.z0 = binSize * std::floor(zmin / binSize);

    // The trees are built while the processing order is sorted on another thread.
    std::unique_ptr<NearestForest> forest;
    std::exception_ptr buildFailure;
    std::jthread builder([&] {
        try {
            forest = std::make_unique<NearestForest>(target);
        } catch (...) {
            buildFailure = std::current_exception();
        }
    });

    // Processing order: bins k, j, i ascending, within a bin the file order.
    const std::size_t n = surface.size();
    struct Keyed {
        Lattice::Bin c;
        std::uint32_t index;
    };
    std::vector<Keyed> keyed(n);
    for (std::size_t i = 0; i < n; ++i) keyed[i] = {lat.bin(surface[i]), static_cast<std::uint32_t>(i)};
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.c.k != b.c.k) return a.c.k < b.c.k;
        if (a.c.j != b.c.j) return a.c.j < b.c.j;
        if (a.c.i != b.c.i) return a.c.i < b.c.i;
        return a.index < b.index;
    });
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = keyed[i].index;
    std::vector<Keyed>().swap(keyed);
    builder.join();
    if (buildFailure) std::rethrow_exception(buildFailure);
    const Search search{surface, target, *forest, lat};

    // The searches themselves go along a Z-order curve through the surface cloud, so
    // that each starts next to the one before (its hint is near and its tree paths are
    // in cache); each point's record still goes to its place in bin order.
    std::vector<std::uint32_t> slot(n);
    for (std::size_t t = 0; t < n; ++t) slot[order[t]] = static_cast<std::uint32_t>(t);
    const std::vector<std::uint32_t> visit = zOrder(surface);

    EnamelThickness out;
    out.distance.assign(n, 0);
    out.trace.resize(n);
    constexpr std::size_t kChunk = 65536;
    progress.step(0, static_cast<long long>(n));
    for (std::size_t first = 0; first < n; first += kChunk) {
        checkStop(progress);
        const std::size_t end = std::min(n, first + kChunk);
        surfer::detail::forEachRowBlock(
            static_cast<int>(end - first),
            [&](int a, int b) {
                std::int64_t hint = -1;
                for (int r = a; r < b; ++r) {
                    const std::uint32_t p = visit[first + static_cast<std::size_t>(r)];
                    search.one(p, out.distance[p], out.trace[slot[p]], hint);
                }
            },
            1024);
        progress.step(static_cast<long long>(end), static_cast<long long>(n));
    }
    return out;
}

std::vector<double> NearestDistancesBruteForce(const PointList& surface, const PointList& target) {
    std::vector<double> d(surface.size(), std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < surface.size(); ++i)
        for (const PointXYZ& q : target) d[i] = std::min(d[i], dist(surface[i], q));
    return d;
}

void writeDistanceFile(formats::ChunkWriter& out, const PointList& surface, const std::vector<double>& distance) {
    formats::writeNumberRows(out, surface.size(), 4, [&](std::size_t r, double* v) {
        v[0] = surface[r].x;
        v[1] = surface[r].y;
        v[2] = surface[r].z;
        v[3] = distance[r];
    });
    out.finish();
}

void writeTraceFile(formats::ChunkWriter& out, const PointList& surface, const std::vector<double>& distance,
                    const std::vector<TraceRow>& trace) {
    formats::writeNumberRows(out, trace.size(), 9, [&](std::size_t r, double* v) {
        const TraceRow& t = trace[r];
        const PointXYZ& p = surface[t.point];
        v[0] = static_cast<double>(t.point) + 1;
        v[1] = p.x;
        v[2] = p.y;
        v[3] = p.z;
        v[4] = t.fx;
        v[5] = t.fy;
        v[6] = t.fz;
        v[7] = distance[t.point];
        v[8] = static_cast<double>(t.shell);
    });
    out.finish();
}


bool cmdEnamThickCalc(PtCloudContext& ctx, const EnamelOptions& options) {
    if (ctx.list.NoFiles != 2)
        return refuseListLength(ctx, "Enamel thickness \"Calculate\" takes two files, in this order: the surface of "
                                     "interest, then the surface to find the distance to.");
    return RunCommand(ctx, [&] {
        PtCloudList& l = ctx.list;
        const double b = text::Val(options.txtBinSizeE);
        if (!(b > 0)) throw Error("Enamel thickness: the bin size must be a number greater than 0.");
        // The two files are read side by side.
        PointList target;
        std::exception_ptr targetFailure;
        std::jthread second([&] {
            try {
                target = readCloud(l.FileFullName[1]);
            } catch (...) {
                targetFailure = std::current_exception();
            }
        });
        l.FileIndex = 1;
        const PointList surface = readCloud(l.FileFullName[0]);
        ctx.progress.pointsInFile(static_cast<long long>(surface.size()));
        second.join();
        l.FileIndex = 2;
        if (targetFailure) std::rethrow_exception(targetFailure);
        const std::string result = l.FileStem[0] + "_dist" + l.FileExt[0];
        const std::string trace = l.FileStem[0] + "_temp" + l.FileExt[0];
        refuseOverwritingInput(l, result);
        refuseOverwritingInput(l, trace);
        askReplace(ctx, std::vector<std::string>{result, trace});
        const EnamelThickness e = NearestDistances(surface, target, b, ctx.progress);
        // The two files are written side by side (the record is the larger) and replace
        // the old pair only when both are complete.
        formats::ChunkWriter resultOut(result), traceOut(trace);
        std::exception_ptr traceFailure;
        {
            std::jthread writer([&] {
                try {
                    writeTraceFile(traceOut, surface, e.distance, e.trace);
                } catch (...) {
                    traceFailure = std::current_exception();
                }
            });
            writeDistanceFile(resultOut, surface, e.distance);
        }
        if (traceFailure) std::rethrow_exception(traceFailure);
        formats::commitTogether(resultOut, traceOut);
        l.FileOutName[0] = result;
        ClearFilenames(l);
    });
}

} // namespace trelvik::ptcloud
