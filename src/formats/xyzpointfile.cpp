#include "formats/xyzpointfile.h"

#include "core/error.h"
#include "core/commit/workingfiles.h"
#include "core/fileroutines.h"
#include "core/parallelblocks.h"
#include "formats/numberrange.h"
#include "formats/numberrows.h"
#include "formats/pointtextblocks.h"

#include <algorithm>
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

// The points of one block of whole lines.
struct PointsPart : blocks::BlockPart {
    PointList points;
};

void readPoints(std::string_view text, PointsPart& part) {
    const char* p = text.data();
    const char* const end = p + text.size();
    part.points.reserve(static_cast<std::size_t>(std::count(p, end, '\n')) + 1);
    std::size_t line = 0;
    for (; p < end; ++line) {
        const char* nl = static_cast<const char*>(memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* lineEnd = nl ? nl : end;
        const char* e = lineEnd;
        while (e > p && (e[-1] == '\r' || e[-1] == ' ' || e[-1] == '\t')) --e;
        const char* q = p;
        while (q < e && (*q == ' ' || *q == '\t')) ++q;
        if (q < e) {
            PointXYZ pt;
            if (!nextNumber(q, e, pt.x) || !nextNumber(q, e, pt.y) || !nextNumber(q, e, pt.z)) {
                part.refusal = blocks::Refusal{line, " does not hold three numbers"};
                break;
            }
            // A NaN or infinity would be placed in no cell yet still set the height range.
            if (!std::isfinite(pt.x) || !std::isfinite(pt.y) || !std::isfinite(pt.z)) {
                part.refusal = blocks::Refusal{line, " holds a value that is not a finite number"};
                break;
            }
            part.points.push_back(pt);
        }
        p = nl ? nl + 1 : end;
    }
    part.lines = line;
}

PointList parseBlocks(const blocks::TextBlocks& text, const std::string& path) {
    std::vector<PointsPart> parts = blocks::parseParts<PointsPart>(text, readPoints);
    std::vector<std::size_t> start(parts.size() + 1, 0);
    std::size_t line = 1;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (parts[k].refusal) throw Error(blocks::refusalAt(path, line, *parts[k].refusal));
        line += parts[k].lines;
        start[k + 1] = start[k] + parts[k].points.size();
    }
    if (parts.size() == 1) return std::move(parts[0].points);
    PointList pts(start.back());
    forEachBlock(parts.size(), 1, [&](std::size_t k0, std::size_t k1) {
        for (std::size_t k = k0; k < k1; ++k) {
            std::copy(parts[k].points.begin(), parts[k].points.end(), pts.begin() + static_cast<std::ptrdiff_t>(start[k]));
            PointList().swap(parts[k].points);
        }
    });
    return pts;
}

} // namespace

PointList parseXyzPoints(std::string_view text, const std::string& path) {
    return parseBlocks(blocks::TextBlocks(text), path);
}

PointList readXyzPointFile(const std::string& path) {
    working::settleBeforeReading(path);
    const InputFile in(path, "Cannot open " + path);
    return parseBlocks(blocks::TextBlocks(in, path), path);
}

void writeXyzPointFile(const std::string& path, const PointList& points) {
    writeNumberRowsFile(path, points.size(), 3, [&points](std::size_t r, double* v) {
        v[0] = points[r].x;
        v[1] = points[r].y;
        v[2] = points[r].z;
    });
}

} // namespace trelvik::formats
