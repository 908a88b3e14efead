#pragma once
// A digitised or outline point in map coordinates (grid units), and a list of them.
#include <vector>

namespace trelvik::formats {

struct PointXY {
    double x = 0, y = 0;
    bool operator==(const PointXY&) const = default;
};
using PointXYList = std::vector<PointXY>;

} // namespace trelvik::formats
