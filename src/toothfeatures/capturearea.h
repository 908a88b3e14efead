#pragma once
// Capture area of a crest: the band between the crest and the top of the capture area
// (a plane), summed as two triangles per crest segment.
//
// Input: the crest points C(i) in the occlusal frame, in slice order, and for each the
//   point Q(i) of the top plane straight above or below it along the occlusal axis
//   (same x', y'); `gapBefore(i)` true where blank slice points lay between C(i-1) and
//   C(i), so that no segment joins them (the crest left the grid's data there).
// Output: per segment from C(i) to C(i+1) (segments across a gap left out) the areas
//   area1 = |(C(i) - Q(i)) x (C(i+1) - Q(i))| / 2     triangle Q(i), C(i), C(i+1)
//   area2 = |(C(i+1) - Q(i)) x (Q(i+1) - Q(i))| / 2   triangle Q(i), C(i+1), Q(i+1)
//   (the quadrilateral split along its diagonal from Q(i) to C(i+1)), and the total.
// A crest lying in the plane gives 0 everywhere.
//
// captureResultsLines: one "area1,area2" line per segment, then the total, numbers in
// the general form.
#include "core/points.h"

#include <string>
#include <vector>

namespace trelvik::toothfeatures {

struct CaptureSegment {
    double area1 = 0, area2 = 0;
};

struct CaptureAreaResult {
    std::vector<CaptureSegment> segments;
    double total = 0;
};

// Half the length of a x b.
double triangleArea(const PointXYZ& a, const PointXYZ& b);

// Throws trelvik::Error when the three lists differ in length.
CaptureAreaResult captureArea(const PointList& crest, const PointList& plane, const std::vector<bool>& gapBefore);

std::vector<std::string> captureResultsLines(const CaptureAreaResult& r);

} // namespace trelvik::toothfeatures
