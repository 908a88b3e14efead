#include "formats/xyzpointfile.h"

#include "core/error.h"
#include "core/commit/workingfiles.h"
#include "core/fileroutines.h"
#include "formats/numberrange.h"
#include "formats/numberrows.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <sstream>

namespace trelvik::formats {

namespace {

inline bool isSep(char c) { return c == ',' || c == ' ' || c == '\t'; }

// Reads the next number of [p, end); false when the item there is not a number.
inline bool nextNumber(const char*& p, const char* end, double& v) {
    while (p < end && isSep(*p)) ++p;
    if (p >= end) return false;
    const char* q = p;
    if (*q == '+') ++q;
    auto res = std::from_chars(q, end, v);
    if (res.ec == std::errc::result_out_of_range) {
        // A huge magnitude keeps its sign; it marks a blank anyway.
        v = outOfRangeNumber(q, res.ptr, 1.7e308);
    } else if (res.ec != std::errc()) {
        return false;
    }
    p = res.ptr;
    return p >= end || isSep(*p);
}

std::string readAll(const std::string& path) {
    working::settleBeforeReading(path);
    return InputFile(path, "Cannot open " + path).readAll();
}

} // namespace

PointList parseXyzPoints(std::string_view text, const std::string& path) {
    PointList pts;
    std::size_t lines = 0;
    for (char c : text)
        if (c == '\n') ++lines;
    pts.reserve(lines + 1);
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t lineNo = 0;
    while (p < end) {
        const char* nl = static_cast<const char*>(memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* lineEnd = nl ? nl : end;
        ++lineNo;
        const char* e = lineEnd;
        while (e > p && (e[-1] == '\r' || e[-1] == ' ' || e[-1] == '\t')) --e;
        const char* q = p;
        while (q < e && (*q == ' ' || *q == '\t')) ++q;
        if (q < e) {
            PointXYZ pt;
            if (!nextNumber(q, e, pt.x) || !nextNumber(q, e, pt.y) || !nextNumber(q, e, pt.z))
                throw Error(path + ": line " + std::to_string(lineNo) + " does not hold three numbers");
            // A NaN or infinity would be placed in no cell yet still set the height range.
            if (!std::isfinite(pt.x) || !std::isfinite(pt.y) || !std::isfinite(pt.z))
                throw Error(path + ": line " + std::to_string(lineNo) + " holds a value that is not a finite number");
            pts.push_back(pt);
        }
        p = nl ? nl + 1 : end;
    }
    return pts;
}

PointList readXyzPointFile(const std::string& path) {
    return parseXyzPoints(readAll(path), path);
}

void writeXyzPointFile(const std::string& path, const PointList& points) {
    writeNumberRowsFile(path, points.size(), 3, [&points](std::size_t r, double* v) {
        v[0] = points[r].x;
        v[1] = points[r].y;
        v[2] = points[r].z;
    });
}

} // namespace trelvik::formats
