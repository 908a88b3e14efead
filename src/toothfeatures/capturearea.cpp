#include "toothfeatures/capturearea.h"

#include "core/error.h"
#include "core/textform.h"

#include <cmath>

namespace trelvik::toothfeatures {

namespace {
PointXYZ minus(const PointXYZ& a, const PointXYZ& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
} // namespace

double triangleArea(const PointXYZ& u, const PointXYZ& v) {
    const double cx = u.y * v.z - u.z * v.y;
    const double cy = u.z * v.x - u.x * v.z;
    const double cz = u.x * v.y - u.y * v.x;
    return std::sqrt(cx * cx + cy * cy + cz * cz) / 2;
}

CaptureAreaResult captureArea(const PointList& C, const PointList& Q, const std::vector<bool>& gapBefore) {
    if (C.size() != Q.size() || C.size() != gapBefore.size())
        throw Error("Capture area: the crest, plane and gap lists differ in length");
    CaptureAreaResult r;
    for (std::size_t i = 0; i + 1 < C.size(); ++i) {
        if (gapBefore[i + 1]) continue;
        const PointXYZ a = minus(C[i], Q[i]);
        const PointXYZ b = minus(C[i + 1], Q[i]);
        const PointXYZ c = minus(Q[i + 1], Q[i]);
        CaptureSegment s{triangleArea(a, b), triangleArea(b, c)};
        r.total += s.area1 + s.area2;
        r.segments.push_back(s);
    }
    return r;
}

std::vector<std::string> captureResultsLines(const CaptureAreaResult& r) {
    std::vector<std::string> lines;
    lines.reserve(r.segments.size() + 1);
    for (const CaptureSegment& s : r.segments) lines.push_back(text::CStr(s.area1) + "," + text::CStr(s.area2));
    lines.push_back(text::CStr(r.total));
    return lines;
}

} // namespace trelvik::toothfeatures
