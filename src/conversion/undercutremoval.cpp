#include "conversion/undercutremoval.h"

#include "conversion/cloudbins.h"
#include "core/error.h"
#include "core/parallelblocks.h"
#include "core/textform.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace trelvik::conversion {

namespace {

[[noreturn]] void fail(const std::string& source, const std::string& what) {
    throw Error(source.empty() ? what : source + ": " + what);
}

bool isRejected(double z, double maxZ, const UndercutOptions& o) {
    return o.rule == UndercutRule::Threshold ? z < maxZ - o.threshold : z < o.proportion * maxZ;
}

} // namespace

UndercutOptions DefaultUndercutOptions(double radius) {
    UndercutOptions o;
    o.radius = radius;
    o.binSize = radius;
    o.rule = UndercutRule::Threshold;
    o.threshold = text::Round(4 * radius, 3);
    return o;
}

void TurnMould(PointList& points) {
    for (auto& p : points) {
        p.x = -p.x;
        p.z = -p.z;
    }
}

UndercutResult removeUndercuts(const PointList& points, const UndercutOptions& o, Progress& progress,
                               const std::string& source) {
    const std::size_t n = points.size();
    if (n == 0) fail(source, "the point file holds no points.");
    if (!(o.radius > 0) || !std::isfinite(o.radius))
        fail(source, "the search radius must be a number greater than 0.");
    if (!(o.binSize > 0) || !std::isfinite(o.binSize))
        fail(source, "the bin size must be a number greater than 0.");

    double xmin = points[0].x, xmax = xmin, ymin = points[0].y, ymax = ymin;
    for (std::size_t i = 0; i < n; ++i) {
        const auto& p = points[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            fail(source, "point " + std::to_string(i + 1) + " is not three finite numbers.");
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
    const double b = o.binSize;
    const double xlo = std::floor(xmin / b) * b;
    const double ylo = std::floor(ymin / b) * b;
    const double xhi = (std::floor(xmax / b) + 2) * b;
    const double yhi = (std::floor(ymax / b) + 2) * b;
    const double nxD = std::nearbyint(text::Round(std::fabs(xhi - xlo) / b, 8));
    const double nyD = std::nearbyint(text::Round(std::fabs(yhi - ylo) / b, 8));
    if (!(nxD < 4e18 && nyD < 4e18)) fail(source, "the point cloud spans too many bins; increase the bin size.");
    const auto nx = static_cast<std::int64_t>(nxD);
    const auto ny = static_cast<std::int64_t>(nyD);

    std::vector<std::int64_t> col(n), row(n);
    forEachBlock(n, std::size_t{1} << 16, [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            // Clamped to the lattice: rounding to 8 decimals can only move a point across
            // the lattice's own last line, never out of the cloud's extent.
            col[i] = std::clamp<std::int64_t>(
                static_cast<std::int64_t>(std::floor(text::Round(points[i].x - xlo, 8) / b)) + 1, 1, nx);
            row[i] = std::clamp<std::int64_t>(
                static_cast<std::int64_t>(std::floor(text::Round(points[i].y - ylo, 8) / b)) + 1, 1, ny);
        }
    });
    CloudBins bins = [&] {
        try {
            return CloudBins(col, row, nx, ny);
        } catch (const Error& e) {
            fail(source, e.what());
        }
    }();

    // A point's search takes the bins its square reaches, widened by a margin that
    // covers the 8-decimal rounding of the binning, so no point of the square is missed.
    // A radius much larger than the bins is searched on coarser bins of its own size,
    // so that a square never spans more than a few bins.
    const double r = o.radius;
    const bool coarse = r > 4 * b;
    const double sb = coarse ? r : b;
    std::optional<CloudBins> coarseBins;
    std::int64_t snx = nx, sny = ny;
    if (coarse) {
        snx = static_cast<std::int64_t>(std::floor((xmax - xlo) / sb)) + 1;
        sny = static_cast<std::int64_t>(std::floor((ymax - ylo) / sb)) + 1;
        for (std::size_t i = 0; i < n; ++i) {
            col[i] = std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((points[i].x - xlo) / sb)) + 1, 1, snx);
            row[i] = std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((points[i].y - ylo) / sb)) + 1, 1, sny);
        }
        coarseBins.emplace(col, row, snx, sny);
    }
    const CloudBins& search = coarse ? *coarseBins : bins;
    const double margin = 1e-8 / sb + 1e-9;
    auto binOf = [](double v, std::int64_t count) {
        const double f = std::floor(v);
        if (f < 0) return std::int64_t{1};
        if (f >= static_cast<double>(count)) return count;
        return static_cast<std::int64_t>(f) + 1;
    };

    auto judge = [&](std::uint32_t pi) {
        const PointXYZ& P = points[pi];
        const double xa = P.x - r, xb = P.x + r, ya = P.y - r, yb = P.y + r;
        const std::int64_t c0 = binOf((xa - xlo) / sb - margin, snx);
        const std::int64_t c1 = binOf((xb - xlo) / sb + margin, snx);
        const std::int64_t r0 = binOf((ya - ylo) / sb - margin, sny);
        const std::int64_t r1 = binOf((yb - ylo) / sb + margin, sny);
        double maxZ = -std::numeric_limits<double>::infinity();
        for (std::int64_t rr = r0; rr <= r1; ++rr) {
            for (std::int64_t cc = c0; cc <= c1; ++cc) {
                for (std::uint32_t qi : search.at(cc, rr)) {
                    const PointXYZ& Q = points[qi];
                    if (Q.z > maxZ && xa < Q.x && Q.x < xb && ya < Q.y && Q.y < yb) maxZ = Q.z;
                }
            }
        }
        return isRejected(P.z, maxZ, o);
    };

    UndercutResult res;
    res.order.reserve(n);
    res.rejectedFlag.reserve(n);
    for (std::size_t k = 0; k < bins.occupied(); ++k) {
        const auto pts = bins.occupiedPoints(k);
        res.order.insert(res.order.end(), pts.begin(), pts.end());
    }
    // Every decision reads only the input cloud, so the points are judged in parallel,
    // one flag each; the split into kept and rejected and the progress reports follow in
    // bin order on this thread, a round at a time, as a single thread would give them.
    constexpr std::size_t kRound = std::size_t{1} << 20;
    constexpr std::size_t kBlock = 2048;
    std::vector<std::uint8_t> flag(std::min(n, kRound));
    const long long total = static_cast<long long>(n);
    long long m = 0;
    for (std::size_t first = 0; first < n; first += kRound) {
        const std::size_t count = std::min(kRound, n - first);
        forEachBlock(count, kBlock, [&](std::size_t b0, std::size_t b1) {
            for (std::size_t i = b0; i < b1; ++i) flag[i] = judge(res.order[first + i]) ? 1 : 0;
        });
        for (std::size_t i = 0; i < count; ++i) {
            const bool rej = flag[i] != 0;
            res.rejectedFlag.push_back(rej);
            (rej ? res.rejected : res.kept).push_back(points[res.order[first + i]]);
            ++m;
            if (m % 100 == 0 || m == total) progress.step(m, total);
        }
    }
    return res;
}

std::vector<bool> undercutRejectsBruteForce(const PointList& points, const UndercutOptions& o) {
    std::vector<bool> out(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PointXYZ& P = points[i];
        double maxZ = -std::numeric_limits<double>::infinity();
        for (const PointXYZ& Q : points) {
            if (P.x - o.radius < Q.x && Q.x < P.x + o.radius && P.y - o.radius < Q.y && Q.y < P.y + o.radius)
                maxZ = std::max(maxZ, Q.z);
        }
        out[i] = isRejected(P.z, maxZ, o);
    }
    return out;
}

} // namespace trelvik::conversion
