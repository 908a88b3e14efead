#pragma once
// Exact nearest neighbours in a point cloud: the cloud is cut into up to eight parts at
// medians of its widest axis, and each part gets a k-d tree (nanoflann), the trees built
// in parallel. A query searches the parts in order of the distance to their bounding
// boxes and passes over every part that cannot hold a point strictly nearer than the
// best so far, so the answer is the same as one tree's. Distances are the trees' own
// squared distances, (px - qx)^2 + (py - qy)^2 + (pz - qz)^2 summed in that order.
#include "core/points.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace trelvik::ptcloud {

class NearestForest {
public:
    // `points` must outlive the forest. Throws trelvik::Error for an empty cloud.
    explicit NearestForest(const PointList& points);
    ~NearestForest();
    NearestForest(const NearestForest&) = delete;
    NearestForest& operator=(const NearestForest&) = delete;

    // Index of a nearest point and its squared distance. `hint` (an index, or -1) is a
    // point believed near: it bounds the search from the start.
    std::uint32_t nearest(const PointXYZ& p, std::int64_t hint, double& d2) const;
    // Indices of every point whose squared distance is at most r2.
    void within(const PointXYZ& p, double r2, std::vector<std::uint32_t>& out) const;

private:
    struct Part;
    const PointList& points_;
    std::vector<std::unique_ptr<Part>> parts_;
};

} // namespace trelvik::ptcloud
