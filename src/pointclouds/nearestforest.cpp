#include "pointclouds/nearestforest.h"

#include "core/error.h"
#include "surfer/griddataparallel.h"

#include <nanoflann.hpp>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace trelvik::ptcloud {

namespace {
struct Adaptor {
    const PointList& pts;
    std::size_t kdtree_get_point_count() const { return pts.size(); }
    double kdtree_get_pt(std::size_t i, std::size_t dim) const {
        return dim == 0 ? pts[i].x : dim == 1 ? pts[i].y : pts[i].z;
    }
    template <class BBox>
    bool kdtree_get_bbox(BBox&) const { return false; }
};
using KdTree =
    nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, Adaptor>, Adaptor, 3, std::uint32_t>;

inline double coord(const PointXYZ& p, int a) { return a == 0 ? p.x : a == 1 ? p.y : p.z; }
inline double sq(double v) { return v * v; }
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
} // namespace

struct NearestForest::Part {
    PointList pts;
    std::vector<std::uint32_t> global;  // index into the whole cloud
    std::array<double, 3> lo{}, hi{};
    Adaptor adaptor{pts};
    std::unique_ptr<KdTree> tree;

    // Squared distance from p to the box, summed like the trees' distances so that it
    // never exceeds the distance of a point inside.
    double boxDistance(const PointXYZ& p) const {
        double d = 0;
        for (int a = 0; a < 3; ++a) {
            const double v = coord(p, a);
            d += sq(v - std::clamp(v, lo[static_cast<std::size_t>(a)], hi[static_cast<std::size_t>(a)]));
        }
        return d;
    }
};

NearestForest::NearestForest(const PointList& points) : points_(points) {
    if (points.empty()) throw Error("A nearest-point search needs at least one point.");
    // Cut the largest part at the median of its widest axis until there are enough.
    const std::size_t want = std::clamp<std::size_t>(points.size() / 64, 1, 8);
    std::vector<std::uint32_t> idx(points.size());
    std::iota(idx.begin(), idx.end(), 0u);
    std::vector<std::pair<std::size_t, std::size_t>> ranges{{0, idx.size()}};
    while (ranges.size() < want) {
        auto big = std::max_element(ranges.begin(), ranges.end(), [](const auto& a, const auto& b) {
            return a.second - a.first < b.second - b.first;
        });
        const auto [b, e] = *big;
        std::array<double, 3> lo{}, hi{};
        lo.fill(std::numeric_limits<double>::infinity());
        hi.fill(-std::numeric_limits<double>::infinity());
        for (std::size_t i = b; i < e; ++i)
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], coord(points[idx[i]], a));
                hi[a] = std::max(hi[a], coord(points[idx[i]], a));
            }
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (hi[a] - lo[a] > hi[axis] - lo[axis]) axis = a;
        const std::size_t mid = b + (e - b) / 2;
        std::nth_element(idx.begin() + static_cast<std::ptrdiff_t>(b), idx.begin() + static_cast<std::ptrdiff_t>(mid),
                         idx.begin() + static_cast<std::ptrdiff_t>(e), [&](std::uint32_t u, std::uint32_t v) {
                             return coord(points[u], axis) < coord(points[v], axis);
                         });
        *big = {b, mid};
        ranges.emplace_back(mid, e);
    }
    parts_.resize(ranges.size());
    surfer::detail::forEachRowBlock(
        static_cast<int>(ranges.size()),
        [&](int first, int end) {
            for (int k = first; k < end; ++k) {
                auto part = std::make_unique<Part>();
                const auto [b, e] = ranges[static_cast<std::size_t>(k)];
                part->global.assign(idx.begin() + static_cast<std::ptrdiff_t>(b),
                                    idx.begin() + static_cast<std::ptrdiff_t>(e));
                part->pts.reserve(e - b);
                part->lo.fill(std::numeric_limits<double>::infinity());
                part->hi.fill(-std::numeric_limits<double>::infinity());
                for (std::uint32_t g : part->global) {
                    const PointXYZ& q = points[g];
                    part->pts.push_back(q);
                    for (int a = 0; a < 3; ++a) {
                        part->lo[a] = std::min(part->lo[a], coord(q, a));
                        part->hi[a] = std::max(part->hi[a], coord(q, a));
                    }
                }
                part->tree = std::make_unique<KdTree>(3, part->adaptor, nanoflann::KDTreeSingleIndexAdaptorParams(16));
                part->tree->buildIndex();
                parts_[static_cast<std::size_t>(k)] = std::move(part);
            }
        },
        1);
}

NearestForest::~NearestForest() = default;

std::uint32_t NearestForest::nearest(const PointXYZ& p, std::int64_t hint, double& d2) const {
    double best = std::numeric_limits<double>::infinity();
    std::uint32_t bestIndex = kNone;
    if (hint >= 0) {
        const PointXYZ& q = points_[static_cast<std::size_t>(hint)];
        best = sq(p.x - q.x) + sq(p.y - q.y) + sq(p.z - q.z);
        bestIndex = static_cast<std::uint32_t>(hint);
    }
    std::array<std::pair<double, std::size_t>, 8> order{};
    const std::size_t n = parts_.size();
    for (std::size_t k = 0; k < n; ++k) order[k] = {parts_[k]->boxDistance(p), k};
    std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n));
    const double query[3] = {p.x, p.y, p.z};
    for (std::size_t o = 0; o < n; ++o) {
        // A part whose box is no nearer than the best cannot hold a strictly nearer point.
        if (!(order[o].first < best)) break;
        const Part& part = *parts_[order[o].second];
        std::uint32_t local = kNone;
        double dist2 = best;
        nanoflann::KNNResultSet<double, std::uint32_t> rs(1);
        rs.init(&local, &dist2);
        local = kNone;
        dist2 = best;
        part.tree->findNeighbors(rs, query, nanoflann::SearchParams());
        if (local != kNone && dist2 < best) {
            best = dist2;
            bestIndex = part.global[local];
        }
    }
    d2 = best;
    return bestIndex;
}

void NearestForest::within(const PointXYZ& p, double r2, std::vector<std::uint32_t>& out) const {
    out.clear();
    const double query[3] = {p.x, p.y, p.z};
    std::vector<std::pair<std::uint32_t, double>> found;
    for (const auto& part : parts_) {
        if (part->boxDistance(p) > r2) continue;
        // The trees take points strictly inside the radius; widen it a hair and keep
        // those at most r2 away.
        part->tree->radiusSearch(query, r2 * (1 + 1e-12) + std::numeric_limits<double>::min(), found,
                                 nanoflann::SearchParams());
        for (const auto& f : found)
            if (f.second <= r2) out.push_back(part->global[f.first]);
    }
}

} // namespace trelvik::ptcloud
