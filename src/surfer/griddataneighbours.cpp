// Inverse distance, kriging and nearest neighbour: the gridding methods that work from
// the data points nearest to each node, found with a k-d tree.
#include "surfer/griddataalgorithms.h"
#include "surfer/griddataparallel.h"

#include "core/error.h"

#include <Eigen/Dense>
#include <nanoflann.hpp>

#include <array>
#include <cmath>

namespace surfer {

namespace {

struct Cloud {
    const trelvik::PointList& pts;
    std::size_t kdtree_get_point_count() const { return pts.size(); }
    double kdtree_get_pt(std::size_t i, std::size_t dim) const { return dim == 0 ? pts[i].x : pts[i].y; }
    template <class Box>
    bool kdtree_get_bbox(Box&) const { return false; }
};

using Tree = nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, Cloud>, Cloud, 2, std::size_t>;

void requirePoints(const trelvik::PointList& points, std::size_t need, const char* method, const std::string& file) {
    if (points.size() < need)
        throw trelvik::Error(std::string("GridData: ") + method + " needs at least " + std::to_string(need) +
                             " data point" + (need == 1 ? "" : "s") + "; data file " + file + " has " +
                             std::to_string(points.size()));
}

constexpr std::size_t kNeighbours = 16;
constexpr std::size_t kKrigingCandidates = 64;

} // namespace

void gridInverseDistance(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile) {
    requirePoints(points, 1, "inverse distance", dataFile);
    Cloud cloud{points};
    Tree tree(2, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(10));
    const std::size_t k = std::min(kNeighbours, points.size());
    detail::forEachRowBlock(grid.rows, [&](int r0, int r1) {
        std::array<std::size_t, kNeighbours> idx;
        std::array<double, kNeighbours> d2;
        for (int r = r0; r < r1; ++r) {
            const double y = grid.y(r);
            for (int c = 0; c < grid.cols; ++c) {
                const double q[2] = {grid.x(c), y};
                const std::size_t n = tree.knnSearch(q, k, idx.data(), d2.data());
                if (d2[0] == 0) {
                    grid.at(c, r) = points[idx[0]].z;
                    continue;
                }
                double sw = 0, swz = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    const double w = 1.0 / d2[i];  // power 2 of the distance
                    sw += w;
                    swz += w * points[idx[i]].z;
                }
                grid.at(c, r) = swz / sw;
            }
        }
    });
}

void gridNearestNeighbor(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile) {
    requirePoints(points, 1, "nearest neighbour", dataFile);
    Cloud cloud{points};
    Tree tree(2, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(10));
    constexpr std::size_t kTies = 8;
    const std::size_t k = std::min(kTies, points.size());
    detail::forEachRowBlock(grid.rows, [&](int r0, int r1) {
        std::array<std::size_t, kTies> idx;
        std::array<double, kTies> d2;
        for (int r = r0; r < r1; ++r) {
            const double y = grid.y(r);
            for (int c = 0; c < grid.cols; ++c) {
                const double q[2] = {grid.x(c), y};
                const std::size_t n = tree.knnSearch(q, k, idx.data(), d2.data());
                // Equally near points: take the first in x, y order so the choice never
                // depends on the tree's inner layout.
                std::size_t best = idx[0];
                for (std::size_t i = 1; i < n && d2[i] == d2[0]; ++i) best = std::min(best, idx[i]);
                grid.at(c, r) = points[best].z;
            }
        }
    });
}

void gridKriging(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile) {
    requirePoints(points, 1, "kriging", dataFile);
    Cloud cloud{points};
    Tree tree(2, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(10));
    const std::size_t k = std::min(kKrigingCandidates, points.size());
    using Mat = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, kNeighbours + 1, kNeighbours + 1>;
    using Vec = Eigen::Matrix<double, Eigen::Dynamic, 1, 0, kNeighbours + 1, 1>;
    detail::forEachRowBlock(grid.rows, [&](int r0, int r1) {
        std::array<std::size_t, kKrigingCandidates> idx;
        std::array<double, kKrigingCandidates> d2;
        std::array<std::size_t, kNeighbours> chosen;
        std::array<bool, kKrigingCandidates> taken;
        Mat a;
        Vec b;
        for (int r = r0; r < r1; ++r) {
            const double y = grid.y(r);
            for (int c = 0; c < grid.cols; ++c) {
                const double x = grid.x(c);
                const double q[2] = {x, y};
                const std::size_t n = tree.knnSearch(q, k, idx.data(), d2.data());
                if (d2[0] == 0) {
                    grid.at(c, r) = points[idx[0]].z;
                    continue;
                }
                // Nearest first, at most 4 from each quadrant; then fill from the rest.
                std::size_t m = 0;
                int perQuadrant[4] = {0, 0, 0, 0};
                for (std::size_t i = 0; i < n; ++i) {
                    taken[i] = false;
                    if (m == kNeighbours) continue;
                    const double dx = points[idx[i]].x - x, dy = points[idx[i]].y - y;
                    const int quadrant = (dx > 0 && dy >= 0) ? 0 : (dx <= 0 && dy > 0) ? 1 : (dx < 0 && dy <= 0) ? 2 : 3;
                    if (perQuadrant[quadrant] < 4) {
                        ++perQuadrant[quadrant];
                        taken[i] = true;
                        chosen[m++] = idx[i];
                    }
                }
                for (std::size_t i = 0; i < n && m < kNeighbours; ++i)
                    if (!taken[i]) chosen[m++] = idx[i];

                const auto sz = static_cast<Eigen::Index>(m + 1);
                a.resize(sz, sz);
                b.resize(sz);
                for (std::size_t i = 0; i < m; ++i) {
                    const auto& pi = points[chosen[i]];
                    a(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(i)) = 0;
                    for (std::size_t j = i + 1; j < m; ++j) {
                        const auto& pj = points[chosen[j]];
                        const double h = std::hypot(pi.x - pj.x, pi.y - pj.y);
                        a(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)) = h;
                        a(static_cast<Eigen::Index>(j), static_cast<Eigen::Index>(i)) = h;
                    }
                    a(static_cast<Eigen::Index>(i), sz - 1) = 1;
                    a(sz - 1, static_cast<Eigen::Index>(i)) = 1;
                    b(static_cast<Eigen::Index>(i)) = std::hypot(pi.x - x, pi.y - y);
                }
                a(sz - 1, sz - 1) = 0;
                b(sz - 1) = 1;
                const Vec w = a.partialPivLu().solve(b);
                double z = 0;
                for (std::size_t i = 0; i < m; ++i) z += w(static_cast<Eigen::Index>(i)) * points[chosen[i]].z;
                grid.at(c, r) = z;
            }
        }
    });
}

} // namespace surfer
