#include "surfer/griddatainput.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/linecuts.h"
#include "core/parallelblocks.h"
#include "core/textform.h"
#include "formats/numberrange.h"
#include "surfer/griddataexclusion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace surfer {

namespace {

inline bool isSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == ';' || c == '\r'; }

// Parses one field as a number; false when the field is not wholly a number.
inline bool parseField(const char* b, const char* e, double& v) {
    if (b < e && *b == '"' && e - b >= 2 && e[-1] == '"') {
        ++b;
        --e;
    }
    bool negative = false;
    if (b < e && (*b == '+' || *b == '-')) {
        negative = *b == '-';
        ++b;
    }
    if (b == e) return false;
    auto res = std::from_chars(b, e, v);
    if (res.ec == std::errc::result_out_of_range) {
        // A tiny magnitude is 0; a huge one is infinite and the point is dropped.
        v = trelvik::formats::outOfRangeNumber(b, e, std::numeric_limits<double>::infinity());
    } else if (res.ec != std::errc() || res.ptr != e) {
        return false;
    }
    if (negative) v = -v;
    return true;
}

} // namespace

namespace {

// The records of the whole lines [p, end), counted into out.
void readRecords(const char* p, const char* const end, int xCol, int yCol, int zCol, const ExclusionFilter& filter,
                 GridDataPoints& out) {
    const int lastCol = std::max({xCol, yCol, zCol});
    out.points.reserve(static_cast<std::size_t>(end - p) / 24 + 16);
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (!eol) eol = end;
        double v[3] = {0, 0, 0};
        int found = 0;
        bool usable = true;
        int col = 0;
        const char* q = p;
        while (q < eol && col < lastCol) {
            while (q < eol && isSeparator(*q)) ++q;
            if (q >= eol) break;
            const char* f = q;
            while (q < eol && !isSeparator(*q)) ++q;
            ++col;
            const int slot = col == xCol ? 0 : col == yCol ? 1 : col == zCol ? 2 : -1;
            if (slot < 0) continue;
            double value;
            if (!parseField(f, q, value)) {
                usable = false;
                break;
            }
            // A column may serve twice (x and z from one column); fill every slot it names.
            if (col == xCol) { v[0] = value; ++found; }
            if (col == yCol) { v[1] = value; ++found; }
            if (col == zCol) { v[2] = value; ++found; }
        }
        p = eol + 1;
        if (!usable || found < 3) continue;
        ++out.records;
        if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2]) || v[2] >= 1e38) {
            ++out.blankDropped;
            continue;
        }
        if (filter.excludes(v[0], v[1], v[2])) {
            ++out.excluded;
            continue;
        }
        out.points.push_back({v[0], v[1], v[2]});
    }
}

} // namespace

GridDataPoints readGridDataPoints(const std::string& path, int xCol, int yCol, int zCol,
                                  const ExclusionFilter& filter, std::size_t minPiece) {
    if (xCol < 1 || yCol < 1 || zCol < 1)
        throw trelvik::Error("GridData: column numbers must be 1 or more for data file " + path);
    const std::string text = trelvik::readWholeFile(path);

    // The lines are cut after line feeds into pieces read on several threads and joined
    // in file order, so the points before sorting are those of one pass.
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const std::size_t want =
        std::clamp<std::size_t>(text.size() / std::max<std::size_t>(minPiece, 1), 1, trelvik::workerCount() * 2);
    const std::vector<const char*> cuts = trelvik::cutAfterLineFeeds(begin, end, want);
    std::vector<GridDataPoints> parts(cuts.size() - 1);
    trelvik::forEachBlock(parts.size(), 1, [&](std::size_t k0, std::size_t k1) {
        for (std::size_t k = k0; k < k1; ++k) readRecords(cuts[k], cuts[k + 1], xCol, yCol, zCol, filter, parts[k]);
    });
    GridDataPoints out;
    if (parts.size() == 1) {
        out = std::move(parts[0]);
    } else {
        std::size_t total = 0;
        for (const GridDataPoints& part : parts) total += part.points.size();
        out.points.reserve(total);
        for (GridDataPoints& part : parts) {
            out.records += part.records;
            out.blankDropped += part.blankDropped;
            out.excluded += part.excluded;
            out.points.insert(out.points.end(), part.points.begin(), part.points.end());
            trelvik::PointList().swap(part.points);
        }
    }

    auto& pts = out.points;
    std::sort(pts.begin(), pts.end(), [](const trelvik::PointXYZ& a, const trelvik::PointXYZ& b) {
        return a.x < b.x || (a.x == b.x && (a.y < b.y || (a.y == b.y && a.z < b.z)));
    });
    std::size_t w = 0;
    for (std::size_t i = 0; i < pts.size();) {
        std::size_t j = i + 1;
        double sum = pts[i].z;
        while (j < pts.size() && pts[j].x == pts[i].x && pts[j].y == pts[i].y) sum += pts[j++].z;
        const auto n = static_cast<double>(j - i);
        out.duplicates += static_cast<long long>(j - i - 1);
        pts[w++] = {pts[i].x, pts[i].y, sum / n};
        i = j;
    }
    pts.resize(w);
    return out;
}

namespace {

void resolveAxis(std::optional<double> lo, std::optional<double> hi, std::optional<double> count,
                 std::optional<double> spacing, double dataLo, double dataHi, const char* axis,
                 const std::string& file, int& n, double& outLo, double& outHi) {
    const std::string where = std::string(" for data file ") + file;
    outLo = lo ? *lo : dataLo;
    outHi = hi ? *hi : dataHi;
    if (!(outHi > outLo))
        throw trelvik::Error(std::string("GridData: the ") + axis + " range of the grid is empty" + where);
    if (count) {
        const double c = trelvik::text::Round(*count);
        if (!(c >= 2) || c > kMaxLatticeAxisNodes)
            throw trelvik::Error(std::string("GridData: the number of ") + axis + " nodes must be 2 or more" + where);
        n = static_cast<int>(c);
        return;
    }
    if (!spacing)
        throw trelvik::Error(std::string("GridData: neither a node count nor a spacing given along ") + axis + where);
    if (!(*spacing > 0))
        throw trelvik::Error(std::string("GridData: the ") + axis + " spacing must be greater than 0" + where);
    const double c = trelvik::text::Round((outHi - outLo) / *spacing) + 1;
    if (!(c >= 2) || c > kMaxLatticeAxisNodes)
        throw trelvik::Error(std::string("GridData: the ") + axis + " spacing leaves fewer than 2 nodes" + where);
    n = static_cast<int>(c);
    if (!hi) outHi = outLo + (n - 1) * *spacing;
    else if (!lo) outLo = outHi - (n - 1) * *spacing;
}

} // namespace

trelvik::Grid resolveLattice(const LatticeRequest& r, const trelvik::PointList& points, const std::string& dataFile) {
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    if (!points.empty()) {
        x0 = x1 = points.front().x;
        y0 = y1 = points.front().y;
        for (const auto& p : points) {
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
    }
    int cols = 0, rows = 0;
    double gx0, gx1, gy0, gy1;
    resolveAxis(r.xMin, r.xMax, r.numCols, r.xSpacing, x0, x1, "x", dataFile, cols, gx0, gx1);
    resolveAxis(r.yMin, r.yMax, r.numRows, r.ySpacing, y0, y1, "y", dataFile, rows, gy0, gy1);
    if (static_cast<double>(cols) * rows > kMaxLatticeNodes)
        throw trelvik::Error("GridData: the grid of " + std::to_string(cols) + " x " + std::to_string(rows) +
                             " nodes is too large for data file " + dataFile);
    return trelvik::Grid(cols, rows, gx0, gx1, gy0, gy1);
}

} // namespace surfer
