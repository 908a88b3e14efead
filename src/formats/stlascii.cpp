#include "formats/stlascii.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <unordered_set>

namespace trelvik::formats {

namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool readNumber(const char*& p, const char* end, double& v) {
    while (p < end && (isBlank(*p) || *p == ',')) ++p;
    if (p >= end) return false;
    const char* q = p;
    while (q < end && !isBlank(*q) && *q != ',') ++q;
    const char* b = *p == '+' ? p + 1 : p;
    const auto res = std::from_chars(b, q, v);
    if (res.ptr != q || res.ec != std::errc() || !std::isfinite(v)) return false;
    p = q;
    return true;
}

struct VertexHash {
    std::size_t operator()(const PointXYZ& p) const {
        auto h = [](double d) {
            if (d == 0) d = 0;  // -0 and 0 are equal and must hash alike
            std::uint64_t u;
            std::memcpy(&u, &d, sizeof u);
            return u;
        };
        std::uint64_t x = h(p.x) * 0x9E3779B97F4A7C15ull;
        x ^= h(p.y) + 0x7F4A7C159E3779B9ull + (x << 6) + (x >> 2);
        x ^= h(p.z) + 0x94D049BB133111EBull + (x << 6) + (x >> 2);
        return static_cast<std::size_t>(x ^ (x >> 29));
    }
};
struct VertexEq {
    bool operator()(const PointXYZ& a, const PointXYZ& b) const { return a.x == b.x && a.y == b.y && a.z == b.z; }
};

} // namespace

bool looksLikeBinaryStl(std::string_view bytes) {
    if (bytes.size() >= 84) {
        std::uint32_t facets = 0;
        std::memcpy(&facets, bytes.data() + 80, 4);
        if (84 + 50ull * facets == bytes.size()) return true;
    }
    return bytes.substr(0, std::min<std::size_t>(bytes.size(), 4096)).find('\0') != std::string_view::npos;
}

PointList parseAsciiStlVertices(std::string_view text, const std::string& path) {
    if (looksLikeBinaryStl(text)) throw Error(path + ": binary STL is not supported; save as ASCII STL");
    PointList pts;
    pts.reserve(text.size() / 120 * 3 + 3);
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t line = 0;
    while (p < end) {
        const char* eol = p;
        while (eol < end && *eol != '\n' && *eol != '\r') ++eol;
        ++line;
        const char* s = p;
        while (s < eol && isBlank(*s)) ++s;
        if (eol - s >= 6 && std::memcmp(s, "vertex", 6) == 0) {
            const char* q = s + 6;
            PointXYZ v;
            if (q < eol && !isBlank(*q)) {
                // "vertexnormal" or the like: not a vertex line.
            } else if (readNumber(q, eol, v.x) && readNumber(q, eol, v.y) && readNumber(q, eol, v.z)) {
                pts.push_back(v);
            } else {
                throw Error(path + ": line " + std::to_string(line) + ": a vertex line without three numbers");
            }
        }
        p = eol;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
    }
    if (pts.empty()) throw Error(path + ": no vertex lines were found; is it an ASCII STL file?");
    return pts;
}

PointList readAsciiStlVertices(const std::string& path) { return parseAsciiStlVertices(readWholeFile(path), path); }

PointList distinctVertices(const PointList& v) {
    PointList uniq;
    if (v.empty()) return uniq;
    {
        std::unordered_set<PointXYZ, VertexHash, VertexEq> seen;
        seen.reserve(v.size());
        uniq.reserve(v.size() / 4 + 16);
        for (const auto& p : v)
            if (seen.insert(p).second) uniq.push_back(p);
    }
    double xmin = v[0].x, xmax = xmin, ymin = v[0].y, ymax = ymin;
    for (const auto& p : v) {
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
    constexpr int kBins = 1000;
    const double w = (xmax - xmin) / kBins, h = (ymax - ymin) / kBins;
    auto bin = [](double d, double size) {
        if (!(size > 0)) return 1;
        const double c = std::floor(text::Round(d, 8) / size) + 1;
        if (!(c >= 1)) return 1;  // also a range too wide for a double (NaN)
        return c > kBins ? kBins : static_cast<int>(c);
    };
    std::vector<std::uint32_t> key(uniq.size());
    for (std::size_t i = 0; i < uniq.size(); ++i)
        key[i] = static_cast<std::uint32_t>((bin(uniq[i].x - xmin, w) - 1) * kBins + (bin(uniq[i].y - ymin, h) - 1));
    std::vector<std::uint32_t> idx(uniq.size());
    std::iota(idx.begin(), idx.end(), 0u);
    std::stable_sort(idx.begin(), idx.end(), [&](std::uint32_t a, std::uint32_t b) { return key[a] < key[b]; });
    PointList out(uniq.size());
    for (std::size_t k = 0; k < idx.size(); ++k) out[k] = uniq[idx[k]];
    return out;
}

} // namespace trelvik::formats
