#include "conversion/undercutremoval.h"

#include "conversion/cloudbins.h"
#include "core/error.h"
#include "core/parallelblocks.h"
#include "core/textform.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <span>

namespace trelvik::conversion {

namespace {

[[noreturn]] void fail(const std::string& source, const std::string& what) {
    throw Error(source.empty() ? what : source + ": " + what);
}

// Points a thread takes at a time for the extent, the bins and the split; points judged
// at a time, and in a round between progress reports; search bins a thread takes at a
// time for their highest points.
constexpr std::size_t kPointBlock = std::size_t{1} << 16;
constexpr std::size_t kJudgeBlock = 2048;
constexpr std::size_t kRound = std::size_t{1} << 20;
constexpr std::size_t kBinBlock = std::size_t{1} << 12;

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

    // The extent, and the first point (in input order) that is not three finite numbers.
    struct Extent {
        double xmin, xmax, ymin, ymax;
        std::size_t bad;
    };
    std::vector<Extent> extents((n + kPointBlock - 1) / kPointBlock);
    forEachBlock(n, kPointBlock, [&](std::size_t first, std::size_t end) {
        Extent e{points[first].x, points[first].x, points[first].y, points[first].y, n};
        for (std::size_t i = first; i < end; ++i) {
            const auto& p = points[i];
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                e.bad = i;
                break;
            }
            e.xmin = std::min(e.xmin, p.x);
            e.xmax = std::max(e.xmax, p.x);
            e.ymin = std::min(e.ymin, p.y);
            e.ymax = std::max(e.ymax, p.y);
        }
        extents[first / kPointBlock] = e;
    });
    for (const Extent& e : extents)
        if (e.bad < n) fail(source, "point " + std::to_string(e.bad + 1) + " is not three finite numbers.");
    // Taken in input order, as one pass would, so that even the sign of a zero is the same.
    double xmin = extents[0].xmin, xmax = extents[0].xmax, ymin = extents[0].ymin, ymax = extents[0].ymax;
    for (const Extent& e : extents) {
        xmin = std::min(xmin, e.xmin);
        xmax = std::max(xmax, e.xmax);
        ymin = std::min(ymin, e.ymin);
        ymax = std::max(ymax, e.ymax);
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
    try {
        CloudBins::checkLattice(nx, ny, n);
    } catch (const Error& e) {
        fail(source, e.what());
    }

    const auto key = std::make_unique_for_overwrite<std::uint64_t[]>(n);
    forEachBlock(n, kPointBlock, [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            // Clamped to the lattice: rounding to 8 decimals can only move a point across
            // the lattice's own last line, never out of the cloud's extent.
            const std::int64_t col = std::clamp<std::int64_t>(
                static_cast<std::int64_t>(std::floor(text::Round(points[i].x - xlo, 8) / b)) + 1, 1, nx);
            const std::int64_t row = std::clamp<std::int64_t>(
                static_cast<std::int64_t>(std::floor(text::Round(points[i].y - ylo, 8) / b)) + 1, 1, ny);
            key[i] = CloudBins::keyOf(col, row, nx);
        }
    });
    const CloudBins bins({key.get(), n}, nx, ny);

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
        forEachBlock(n, kPointBlock, [&](std::size_t first, std::size_t end) {
            for (std::size_t i = first; i < end; ++i) {
                const std::int64_t col = std::clamp<std::int64_t>(
                    static_cast<std::int64_t>(std::floor((points[i].x - xlo) / sb)) + 1, 1, snx);
                const std::int64_t row = std::clamp<std::int64_t>(
                    static_cast<std::int64_t>(std::floor((points[i].y - ylo) / sb)) + 1, 1, sny);
                key[i] = CloudBins::keyOf(col, row, snx);
            }
        });
        coarseBins.emplace(std::span<const std::uint64_t>(key.get(), n), snx, sny);
    }
    const CloudBins& search = coarse ? *coarseBins : bins;
    const double margin = 1e-8 / sb + 1e-9;
    auto binOf = [](double v, std::int64_t count) {
        const double f = std::floor(v);
        if (f < 0) return std::int64_t{1};
        if (f >= static_cast<double>(count)) return count;
        return static_cast<std::int64_t>(f) + 1;
    };
    struct Square {
        double xa, xb, ya, yb;
        std::int64_t c0, c1, r0, r1;
    };
    auto squareOf = [&](const PointXYZ& P) {
        Square s{P.x - r, P.x + r, P.y - r, P.y + r, 0, 0, 0, 0};
        s.c0 = binOf((s.xa - xlo) / sb - margin, snx);
        s.c1 = binOf((s.xb - xlo) / sb + margin, snx);
        s.r0 = binOf((s.ya - ylo) / sb - margin, sny);
        s.r1 = binOf((s.yb - ylo) / sb + margin, sny);
        return s;
    };

    // M, the largest z in the square, as the rule defines it.
    auto judgeByMax = [&](std::uint32_t pi) {
        const PointXYZ& P = points[pi];
        const Square s = squareOf(P);
        double maxZ = -std::numeric_limits<double>::infinity();
        for (std::int64_t rr = s.r0; rr <= s.r1; ++rr) {
            for (std::int64_t cc = s.c0; cc <= s.c1; ++cc) {
                for (std::uint32_t qi : search.at(cc, rr)) {
                    const PointXYZ& Q = points[qi];
                    if (Q.z > maxZ && s.xa < Q.x && Q.x < s.xb && s.ya < Q.y && Q.y < s.yb) maxZ = Q.z;
                }
            }
        }
        return isRejected(P.z, maxZ, o);
    };

    // When the bar a height sets (M - t, or p * M with p >= 0) never falls as the height
    // rises, the bar of M is the highest bar of the square's points, so P is rejected
    // exactly when one point of the square sets a bar above P.z: the same decision as
    // judgeByMax, to the last bit, as rounding never reverses an order. A bin whose
    // highest point sets no bar above P.z then cannot reject P and is passed over
    // unread, and the search ends at the first point that rejects: on a scan's smooth
    // surface most bins are passed over.
    const bool barRises = o.rule == UndercutRule::Threshold || !(o.proportion < 0);
    const std::uint32_t* const searchOrder = search.all().data();
    std::unique_ptr<double[]> binTop;  // a bin's highest z, at its first place in searchOrder
    if (barRises) {
        binTop = std::make_unique_for_overwrite<double[]>(n);
        forEachBlock(search.occupied(), kBinBlock, [&](std::size_t k0, std::size_t k1) {
            for (std::size_t k = k0; k < k1; ++k) {
                const auto pts = search.occupiedPoints(k);
                double top = -std::numeric_limits<double>::infinity();
                for (std::uint32_t qi : pts) top = std::max(top, points[qi].z);
                binTop[static_cast<std::size_t>(pts.data() - searchOrder)] = top;
            }
        });
    }
    auto binTopAt = [&](std::span<const std::uint32_t> pts) {
        return binTop[static_cast<std::size_t>(pts.data() - searchOrder)];
    };
    auto judgeByBar = [&](const PointXYZ& P, const Square& s) {
        for (std::int64_t rr = s.r0; rr <= s.r1; ++rr) {
            for (std::int64_t cc = s.c0; cc <= s.c1; ++cc) {
                const auto pts = search.at(cc, rr);
                if (pts.empty() || !isRejected(P.z, binTopAt(pts), o)) continue;
                for (std::uint32_t qi : pts) {
                    const PointXYZ& Q = points[qi];
                    if (isRejected(P.z, Q.z, o) && s.xa < Q.x && Q.x < s.xb && s.ya < Q.y && Q.y < s.yb) return true;
                }
            }
        }
        return false;
    };

    // Every decision reads only the input cloud, so the points are judged in parallel,
    // one flag each, a round at a time, with the progress reports of the round after it
    // on this thread, as a single thread would give them. The split into kept and
    // rejected follows, each block of points written where one pass would write it.
    const std::span<const std::uint32_t> order = bins.all();
    const auto flag = std::make_unique_for_overwrite<std::uint8_t[]>(n);
    const long long total = static_cast<long long>(n);
    for (std::size_t first = 0; first < n; first += kRound) {
        const std::size_t count = std::min(kRound, n - first);
        forEachBlock(count, kJudgeBlock, [&](std::size_t b0, std::size_t b1) {
            if (!barRises) {
                for (std::size_t i = first + b0; i < first + b1; ++i) flag[i] = judgeByMax(order[i]) ? 1 : 0;
                return;
            }
            // Points of a bin mostly search the same bins, so the highest point of those
            // bins is found once for them all; a point it sets no bar above is kept
            // without looking at the bins one by one.
            Square last{0, 0, 0, 0, 0, -1, 0, -1};  // no square's bins: c1 < c0
            double top = -std::numeric_limits<double>::infinity();
            for (std::size_t i = first + b0; i < first + b1; ++i) {
                const PointXYZ& P = points[order[i]];
                const Square s = squareOf(P);
                if (s.c0 != last.c0 || s.c1 != last.c1 || s.r0 != last.r0 || s.r1 != last.r1) {
                    last = s;
                    top = -std::numeric_limits<double>::infinity();
                    for (std::int64_t rr = s.r0; rr <= s.r1; ++rr)
                        for (std::int64_t cc = s.c0; cc <= s.c1; ++cc)
                            if (const auto pts = search.at(cc, rr); !pts.empty()) top = std::max(top, binTopAt(pts));
                }
                flag[i] = isRejected(P.z, top, o) && judgeByBar(P, s) ? 1 : 0;
            }
        });
        for (std::size_t m = (first / 100 + 1) * 100; m <= first + count; m += 100)
            progress.step(static_cast<long long>(m), total);
        if (first + count == n && n % 100 != 0) progress.step(total, total);
    }

    const std::size_t blocks = (n + kPointBlock - 1) / kPointBlock;
    std::vector<std::size_t> rejectedBefore(blocks + 1, 0);
    forEachBlock(n, kPointBlock, [&](std::size_t first, std::size_t end) {
        rejectedBefore[first / kPointBlock + 1] =
            static_cast<std::size_t>(std::count(flag.get() + first, flag.get() + end, std::uint8_t{1}));
    });
    for (std::size_t k = 0; k < blocks; ++k) rejectedBefore[k + 1] += rejectedBefore[k];
    UndercutResult res;
    res.order.assign(order.begin(), order.end());
    res.kept.resize(n - rejectedBefore[blocks]);
    res.rejected.resize(rejectedBefore[blocks]);
    forEachBlock(n, kPointBlock, [&](std::size_t first, std::size_t end) {
        std::size_t rej = rejectedBefore[first / kPointBlock], kept = first - rej;
        for (std::size_t i = first; i < end; ++i) {
            if (flag[i]) res.rejected[rej++] = points[order[i]];
            else res.kept[kept++] = points[order[i]];
        }
    });
    res.rejectedFlag.assign(flag.get(), flag.get() + n);
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
