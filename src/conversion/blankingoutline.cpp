#include "conversion/blankingoutline.h"

#include "conversion/cloudbins.h"
#include "core/textform.h"
#include "core/vectors.h"
#include "formats/blnfile.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace trelvik::conversion {

namespace {

[[noreturn]] void fail(const std::string& source, const std::string& what) {
    throw Error(source.empty() ? what : source + ": " + what);
}

// 100000 -> "100,000"
std::string grouped(unsigned long long v) {
    std::string s = std::to_string(v);
    for (int k = static_cast<int>(s.size()) - 3; k > 0; k -= 3) s.insert(static_cast<std::size_t>(k), ",");
    return s;
}

struct Lattice {
    double b = 0, xlo = 0, ylo = 0;
    std::int64_t ncols = 0, nrows = 0;
    std::vector<std::int64_t> col, row;
    std::optional<CloudBins> bins;
};

struct Extents {
    double xmin, xmax, ymin, ymax, zmin;
};

void buildLattice(Lattice& L, const PointList& pts, const Extents& e, double b, const std::string& source) {
    L.b = b;
    L.xlo = b * std::floor(e.xmin / b) - 2 * b;
    L.ylo = b * std::floor(e.ymin / b) - 2 * b;
    const double xhi = b * (std::floor(e.xmax / b) + 1) + 2 * b;
    const double yhi = b * (std::floor(e.ymax / b) + 1) + 2 * b;
    const double nc = std::nearbyint(std::fabs(xhi - L.xlo) / b);
    const double nr = std::nearbyint(std::fabs(yhi - L.ylo) / b);
    if (!(nc < 4e18 && nr < 4e18)) fail(source, "the point cloud spans too many bins; increase the bin size.");
    L.ncols = static_cast<std::int64_t>(nc);
    L.nrows = static_cast<std::int64_t>(nr);
    const std::size_t n = pts.size();
    L.col.resize(n);
    L.row.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        L.col[i] = std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((pts[i].x - L.xlo) / b)) + 1, 1,
                                            L.ncols);
        L.row[i] = std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((pts[i].y - L.ylo) / b)) + 1, 1,
                                            L.nrows);
    }
    try {
        L.bins.emplace(L.col, L.row, L.ncols, L.nrows);
    } catch (const OutlineError&) {
        throw;
    } catch (const Error& err) {
        fail(source, err.what());
    }
}

// The point of the first occupied bin nearest the lattice corner.
std::uint32_t findStart(const Lattice& L, const PointList& pts) {
    std::uint32_t best = 0;
    double bestD = 0;
    bool have = false;
    for (std::uint32_t q : L.bins->occupiedPoints(0)) {
        const double d = std::hypot(pts[q].x - L.xlo, pts[q].y - L.ylo);
        if (!have || d < bestD) {
            best = q;
            bestD = d;
            have = true;
        }
    }
    return best;
}

enum class WalkEnd { Closed, TooLong, DeadEnds };

// Whether some point lies outside the 5 x 5 bins around the start's bin, so that a walk
// around the cloud must leave them.
bool cloudLeavesStartBins(const Lattice& L, std::uint32_t start) {
    const std::int64_t c0 = L.col[start], r0 = L.row[start];
    for (std::size_t i = 0; i < L.col.size(); ++i)
        if (std::llabs(L.col[i] - c0) > 2 || std::llabs(L.row[i] - r0) > 2) return true;
    return false;
}

// Whether the traced outline goes around the cloud: at least half of the points lie
// inside it or on it. An outline that closed on a small loop near its start holds a
// few points only, while stray points left outside a true outline are few. Even-odd
// test against the outline's edges, bucketed by y so that each point meets a few.
bool goesAround(const PointList& pts, const std::vector<std::uint32_t>& verts) {
    const std::size_t m = verts.size();
    double y0 = pts[verts[0]].y, y1 = y0;
    for (auto v : verts) {
        y0 = std::min(y0, pts[v].y);
        y1 = std::max(y1, pts[v].y);
    }
    if (!(y1 > y0)) return false;
    const std::size_t nb = std::max<std::size_t>(1, m);
    const double h = (y1 - y0) / static_cast<double>(nb);
    auto bucket = [&](double y) {
        const double f = std::floor((y - y0) / h);
        return static_cast<std::size_t>(std::clamp(f, 0.0, static_cast<double>(nb - 1)));
    };
    std::vector<std::vector<std::uint32_t>> edges(nb);
    for (std::size_t k = 0; k < m; ++k) {
        const double a = pts[verts[k]].y, b = pts[verts[(k + 1) % m]].y;
        for (std::size_t q = bucket(std::min(a, b)); q <= bucket(std::max(a, b)); ++q)
            edges[q].push_back(static_cast<std::uint32_t>(k));
    }
    std::vector<char> onOutline(pts.size(), 0);
    for (auto v : verts) onOutline[v] = 1;
    std::size_t inside = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const double x = pts[i].x, y = pts[i].y;
        if (onOutline[i]) {
            ++inside;
            continue;
        }
        if (y < y0 || y > y1) continue;
        bool in = false;
        for (std::uint32_t k : edges[bucket(y)]) {
            const PointXYZ& a = pts[verts[k]];
            const PointXYZ& b = pts[verts[(k + 1) % m]];
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
        }
        inside += in;
    }
    return 2 * inside >= pts.size();
}

struct Vec {
    double x = 0, y = 0;
};

Vec unit(Vec v) {
    const double l = std::hypot(v.x, v.y);
    return l > 0 ? Vec{v.x / l, v.y / l} : Vec{};
}

formats::PointXYList offsetRing(const PointList& pts, const std::vector<std::uint32_t>& verts, double b, double f) {
    const std::size_t n = verts.size();
    formats::PointXYList ring(n);
    if (f == 0) {
        for (std::size_t i = 0; i < n; ++i) ring[i] = {pts[verts[i]].x, pts[verts[i]].y};
        return ring;
    }
    std::vector<Vec> s(n), t(n), v(n);
    for (std::size_t i = 0; i < n; ++i) {
        const PointXYZ& a = pts[verts[i]];
        const PointXYZ& c = pts[verts[(i + 1) % n]];
        s[i] = {c.x - a.x, c.y - a.y};
    }
    for (std::size_t i = 0; i < n; ++i) {
        const Vec& prev = s[(i + n - 1) % n];
        t[i] = {-prev.x, -prev.y};
        const Vec us = unit(s[i]), ut = unit(t[i]);
        v[i] = {(us.x + ut.x) / 2, (us.y + ut.y) / 2};
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (v[i].x == 0 && v[i].y == 0) {
            // A straight run: take the perpendicular of the nearest earlier corner's step.
            Vec from = s[i];
            for (std::size_t j = i; j-- > 0;) {
                if (v[j].x != 0 && v[j].y != 0) {
                    from = s[j];
                    break;
                }
            }
            v[i] = {from.y, -from.x};
        }
        const Vec u = unit(v[i]);
        double ox = u.x * b * f, oy = u.y * b * f;
        if (CrossProductZ(s[i].x, s[i].y, 0, t[i].x, t[i].y, 0) <= 0) {
            ox = -ox;
            oy = -oy;
        }
        const PointXYZ& p = pts[verts[i]];
        ring[i] = {p.x + ox, p.y + oy};
    }
    return ring;
}

PointList fillPoints(const Lattice& L, FillRule rule, double zmin, std::uint64_t maxBins, const std::string& source) {
    PointList fill;
    if (rule == FillRule::None) return fill;
    const auto cells = static_cast<std::uint64_t>(L.ncols) * static_cast<std::uint64_t>(L.nrows);
    if (cells > maxBins)
        fail(source, "the point cloud spans too many bins (" + grouped(cells) +
                         ") for fill points; increase the bin size or remove stray points far from the rest.");
    const CloudBins& bins = *L.bins;
    auto centre = [&](std::int64_t c, std::int64_t r) {
        return PointXYZ{L.xlo + static_cast<double>(c - 1) * L.b + L.b / 2,
                        L.ylo + static_cast<double>(r - 1) * L.b + L.b / 2, zmin};
    };
    if (rule == FillRule::EveryEmptyBin) {
        for (std::int64_t r = 1; r <= L.nrows; ++r)
            for (std::int64_t c = 1; c <= L.ncols; ++c)
                if (bins.count(c, r) == 0) fill.push_back(centre(c, r));
        return fill;
    }
    for (std::int64_t r = 2; r <= L.nrows - 1; r += 3) {
        for (std::int64_t c = 2; c <= L.ncols - 1; c += 3) {
            bool empty = true;
            for (std::int64_t dr = -1; dr <= 1 && empty; ++dr)
                for (std::int64_t dc = -1; dc <= 1 && empty; ++dc)
                    if (bins.count(c + dc, r + dr) != 0) empty = false;
            if (empty) fill.push_back(centre(c, r));
        }
    }
    return fill;
}

// Traces from the start point until the outline closes, grows too long or meets too
// many dead ends; verts holds the outline of a closed walk.
WalkEnd walkOutline(const Lattice& L, const PointList& pts, const OutlineOptions& o, Progress& progress,
                    std::vector<std::uint32_t>& verts) {
    const CloudBins& bins = *L.bins;
    const std::uint32_t start = findStart(L, pts);
    const std::int64_t startCol = L.col[start], startRow = L.row[start];
    // The start closes the outline at once only after the walk has been away from it:
    // when the bins are large against the point spacing, eleven short steps still lie
    // beside the start, and closing there would fence a sliver. A cloud that never
    // reaches beyond the start's bins keeps the plain rule.
    const bool mustLeave = cloudLeavesStartBins(L, start);
    // A walk that takes more steps than the start's bins hold points without leaving them
    // has gone round whatever it circles there (a small cloud beside a far stray point):
    // from then on the start closes it at once, rather than the walk circling on.
    std::size_t blockPoints = 0;
    for (std::int64_t dc = -2; dc <= 2; ++dc)
        for (std::int64_t dr = -2; dr <= 2; ++dr) blockPoints += bins.count(startCol + dc, startRow + dr);
    std::vector<char> excluded(pts.size(), 0);
    int deadEnds = 0;
    for (;;) {
        verts.assign(1, start);
        Vec back{0, -1};
        std::int64_t cc = startCol, cr = startRow;
        bool left = !mustLeave;
        for (;;) {
            const std::size_t i = verts.size();
            if (i % 10 == 0) progress.step(static_cast<long long>(i), 0);
            if (i > blockPoints + 10) left = true;
            const std::uint32_t P = verts.back();
            const bool hasPrev = i > 1;
            const std::uint32_t prev = hasPrev ? verts[i - 2] : 0;
            double best = 1000;
            std::int64_t chosen = -1;
            Vec chosenStep;
            bool closed = false;
            for (std::int64_t dc = -2; dc <= 2 && !closed; ++dc) {
                for (std::int64_t dr = -2; dr <= 2 && !closed; ++dr) {
                    for (std::uint32_t q : bins.at(cc + dc, cr + dr)) {
                        if (q == P || excluded[q] || (hasPrev && q == prev)) continue;
                        if (i > 10 && left && q == start) {
                            closed = true;
                            break;
                        }
                        const double dx = pts[q].x - pts[P].x, dy = pts[q].y - pts[P].y;
                        const double d = std::sqrt(dx * dx + dy * dy);
                        if (d == 0 || d < o.minStep || d > 1.5 * L.b) continue;
                        double a = AngleBetweenVectors(dx, dy, back.x, back.y);
                        if (CrossProductZ(dx, dy, 0, back.x, back.y, 0) <= 0) a = 360 - a;
                        if (a >= 90 && a < best) {
                            best = a;
                            chosen = q;
                            chosenStep = {dx, dy};
                        }
                    }
                }
            }
            // A walk that steps onto its start has gone round, whether or not it left.
            if (closed || (i > 10 && chosen == static_cast<std::int64_t>(start))) return WalkEnd::Closed;
            if (chosen >= 0) {
                const auto q = static_cast<std::uint32_t>(chosen);
                verts.push_back(q);
                back = {-chosenStep.x, -chosenStep.y};
                cc = L.col[q];
                cr = L.row[q];
                left = left || std::llabs(cc - startCol) > 2 || std::llabs(cr - startRow) > 2;
                if (verts.size() > o.maxVertices) return WalkEnd::TooLong;
                continue;
            }
            // Dead end: bar this point and walk again from the start.
            if (++deadEnds > o.maxDeadEnds) return WalkEnd::DeadEnds;
            excluded[P] = 1;
            break;
        }
    }
}

} // namespace

OutlineResult traceBlankingOutline(const PointList& pts, const OutlineOptions& o, Progress& progress,
                                   const std::string& source) {
    const std::size_t n = pts.size();
    if (n == 0) fail(source, "the point file holds no points.");
    if (!(o.binSize > 0) || !std::isfinite(o.binSize))
        fail(source, "the blanking outline bin size must be a number greater than 0.");
    Extents e{pts[0].x, pts[0].x, pts[0].y, pts[0].y, pts[0].z};
    for (std::size_t i = 0; i < n; ++i) {
        const PointXYZ& p = pts[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            fail(source, "point " + std::to_string(i + 1) + " is not three finite numbers.");
        e.xmin = std::min(e.xmin, p.x);
        e.xmax = std::max(e.xmax, p.x);
        e.ymin = std::min(e.ymin, p.y);
        e.ymax = std::max(e.ymax, p.y);
        e.zmin = std::min(e.zmin, p.z);
    }

    OutlineResult res;
    res.zmin = e.zmin;
    // Bin sizes tried: the first; larger ones by a third of it each (an outline too long,
    // or around part of the cloud); smaller ones by a quarter each (around part of the
    // cloud, as when the bins are coarse against the points), in turn with the larger.
    enum class Tried { First, Larger, Smaller } last = Tried::First;
    double larger = o.binSize, smaller = o.binSize, b = o.binSize;
    int largerSteps = 0, smallerSteps = 0;
    bool mayShrink = true;
    Lattice L;
    for (;;) {
        buildLattice(L, pts, e, b, source);
        const WalkEnd end = walkOutline(L, pts, o, progress, res.vertices);
        const bool partOnly = end == WalkEnd::Closed && o.checkCoverage && !goesAround(pts, res.vertices);
        if (end == WalkEnd::Closed && !partOnly) break;
        if (end == WalkEnd::DeadEnds && last != Tried::Smaller)
            throw OutlineError(OutlineError::Code::TooManyDeadEnds,
                               "Error - more than " + grouped(static_cast<unsigned long long>(o.maxDeadEnds)) +
                                   " points excluded; remove stray points in point cloud: E004");
        if (o.onTooLong == TooLong::Fail) {
            if (partOnly)
                throw OutlineError(OutlineError::Code::PartOfCloud,
                                   "Error - the blanking outline closed around part of the point cloud only; "
                                   "increase bin size");
            throw OutlineError(OutlineError::Code::TooManyVertices,
                               "Error - more than " + grouped(o.maxVertices) +
                                   " points in blanking file; increase bin size: E003");
        }
        // Bins smaller than the last small one that ran too long or into dead ends would
        // only do so again.
        if (!partOnly && last == Tried::Smaller) mayShrink = false;
        const bool canGrow = largerSteps < o.maxGrowths;
        const bool canShrink = mayShrink && smallerSteps < o.maxGrowths;
        if (partOnly && canShrink && (last != Tried::Smaller || !canGrow)) {
            last = Tried::Smaller;
            smaller *= 0.75;
            b = smaller;
            ++smallerSteps;
        } else if (canGrow) {
            last = Tried::Larger;
            larger += o.binSize / 3;
            b = larger;
            ++largerSteps;
        } else {
            throw OutlineError(OutlineError::Code::GrowthCap,
                               "Error - no blanking outline of at most " + grouped(o.maxVertices) +
                                   " points around the whole point cloud with bin sizes from " + text::CStr(smaller) +
                                   " to " + text::CStr(larger) +
                                   "; remove stray points in point cloud or change the bin size");
        }
        res.growths = largerSteps + smallerSteps;
    }
    progress.step(static_cast<long long>(res.vertices.size()), 0);
    res.binSize = b;
    res.ring = offsetRing(pts, res.vertices, b, o.offsetFactor);
    res.fill = fillPoints(L, o.fill, e.zmin, o.maxFillBins, source);
    return res;
}

void writeBlankingOutline(const std::string& path, const formats::PointXYList& ring) {
    formats::writeBlnFile(path, {formats::closedOutline(ring, 0)}, formats::BlnLayout::Comma);
}

} // namespace trelvik::conversion
