#include "formats/xyztfile.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <charconv>
#include <cstring>

namespace trelvik::formats {

namespace {
inline bool isSep(char c) { return c == ',' || c == ' ' || c == '\t'; }

inline bool nextNumber(const char*& p, const char* end, double& v) {
    while (p < end && isSep(*p)) ++p;
    if (p >= end) return false;
    const char* q = p;
    if (*q == '+') ++q;
    const auto r = std::from_chars(q, end, v);
    if (r.ec != std::errc()) return false;
    p = r.ptr;
    return p >= end || isSep(*p);
}
} // namespace

XyztPoints parseXyztPoints(std::string_view text, const std::string& path) {
    XyztPoints out;
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t lineNo = 0;
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* e = nl ? nl : end;
        ++lineNo;
        while (e > p && (e[-1] == '\r' || e[-1] == ' ' || e[-1] == '\t')) --e;
        const char* q = p;
        while (q < e && (*q == ' ' || *q == '\t')) ++q;
        if (q < e) {
            PointXYZ pt;
            double t = 0;
            if (!nextNumber(q, e, pt.x) || !nextNumber(q, e, pt.y) || !nextNumber(q, e, pt.z) ||
                !nextNumber(q, e, t))
                throw Error(path + ": line " + std::to_string(lineNo) + " does not hold four numbers x, y, z, t");
            out.points.push_back(pt);
            out.t.push_back(t);
        }
        p = nl ? nl + 1 : end;
    }
    return out;
}

XyztPoints readXyztFile(const std::string& path) { return parseXyztPoints(readWholeFile(path), path); }

} // namespace trelvik::formats
