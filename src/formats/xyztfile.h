#pragma once
// XyztDistanceFile: point text with a value per point, one point a line, four numbers
// x, y, z and t (such as a distance to another surface) separated by commas, blanks or
// tabs, no header. Empty lines are passed over; a line without four numbers throws
// trelvik::Error naming the file and the line.
#include "core/points.h"

#include <string>
#include <string_view>
#include <vector>

namespace trelvik::formats {

struct XyztPoints {
    PointList points;
    std::vector<double> t;
};

XyztPoints readXyztFile(const std::string& path);
XyztPoints parseXyztPoints(std::string_view text, const std::string& path);

} // namespace trelvik::formats
