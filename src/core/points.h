#pragma once
// The shared point model: x, y, z in double precision, one record per point.
#include <vector>

namespace trelvik {

struct PointXYZ {
    double x = 0, y = 0, z = 0;
};
using PointList = std::vector<PointXYZ>;

} // namespace trelvik
