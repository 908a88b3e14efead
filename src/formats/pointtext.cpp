#include "formats/pointtext.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/numberrange.h"
#include "formats/quoted.h"

#include <charconv>
#include <cmath>

namespace trelvik::formats {

namespace {
inline bool isSep(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
} // namespace

PointList parsePointText(std::string_view text, const std::string& path, std::size_t firstLine,
                         std::size_t maxPoints) {
    PointList pts;
    pts.reserve(text.size() / 24 + 1);
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t line = firstLine;
    std::size_t pointLine = firstLine;
    double v[3];
    int have = 0;
    while (p < end && pts.size() < maxPoints) {
        // Separators; a CR LF pair, a lone LF and a lone CR each end one line.
        while (p < end && isSep(*p)) {
            if (*p == '\n') ++line;
            else if (*p == '\r' && (p + 1 >= end || p[1] != '\n')) ++line;
            ++p;
        }
        if (p >= end) break;
        const char* q = p;
        while (q < end && !isSep(*q)) ++q;
        const char* b = (*p == '+') ? p + 1 : p;
        double x = 0;
        const auto res = std::from_chars(b, q, x);
        if (res.ptr != q || (res.ec != std::errc() && res.ec != std::errc::result_out_of_range) ||
            (res.ec == std::errc() && !std::isfinite(x)))
            throw Error(path + ": line " + std::to_string(line) + ": \"" +
                        quotedPart({p, static_cast<std::size_t>(q - p)}) +
                        "\" is not a number (a point is three numbers x, y, z)");
        if (res.ec == std::errc::result_out_of_range) x = outOfRangeNumber(b, q, 1.7e308);
        if (have == 0) pointLine = line;
        v[have++] = x;
        if (have == 3) {
            pts.push_back({v[0], v[1], v[2]});
            have = 0;
        }
        p = q;
    }
    if (have != 0)
        throw Error(path + ": line " + std::to_string(pointLine) + ": the last point has only " +
                    std::to_string(have) + " of its three numbers");
    return pts;
}

PointList readPointText(const std::string& path) {
    return parsePointText(readWholeFile(path), path);
}

} // namespace trelvik::formats
