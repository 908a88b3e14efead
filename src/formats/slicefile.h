#pragma once
// SliceFile: the profile the stand-in's GridSlice writes along a slice line, read back
// by the landmark, enamel-outline, curvature, occlusion-relief, crest and rake tools.
//
// Input: a text file, one slice point a line in order along the line, five numbers
//   separated by commas or blanks: x, y, z, the distance along the line, and a fifth
//   value (the line segment number) that readers do not use. No header; empty lines
//   (such as a trailing one) are passed over.
// Output: the points in file order. A point whose z is above 1.7E+38 (or not a number)
//   lies on or next to a blank grid node: it keeps its place in the list and is marked
//   blank, so callers decide whether to skip it or report it.
// A missing file or a line without five numbers throws trelvik::Error naming the file
// and the line. A file without points gives an empty list.
#include <string>
#include <vector>

namespace trelvik::formats {

// z values above this mark a blank node in a slice (the stand-in writes 1.70141E+38).
inline constexpr double kSliceBlankAbove = 1.7e38;

struct SlicePoint {
    double x = 0, y = 0, z = 0, distance = 0;
    bool blank() const { return !(z <= kSliceBlankAbove); }
};

std::vector<SlicePoint> readSliceFile(const std::string& path);

} // namespace trelvik::formats
