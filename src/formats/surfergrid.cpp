#include "formats/surfergrid.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/parallelblocks.h"
#include "core/commit/workingfiles.h"
#include "formats/surfergrid_detail.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <sys/stat.h>

namespace trelvik::formats {

namespace detail {

namespace {

// Least and greatest non-blank height of a stretch of nodes, each the first met of its
// value (0 before -0 when 0 comes first), as Grid::zMin and Grid::zMax keep them.
struct Range {
    bool any = false, exact = true;
    double lo = kBlank, hi = kBlank;
    void add(const double* z, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            const double v = z[i];
            if (isBlank(v)) {
                exact = exact && v == kBlank;
                continue;
            }
            if (!any) {
                lo = hi = v;
                any = true;
                continue;
            }
            if (v < lo) lo = v;
            if (v > hi) hi = v;
        }
    }
    // Joining stretches in order keeps the first met, as one pass would.
    void join(const Range& later) {
        exact = exact && later.exact;
        if (!later.any) return;
        if (!any) {
            lo = later.lo;
            hi = later.hi;
            any = true;
            return;
        }
        if (later.lo < lo) lo = later.lo;
        if (later.hi > hi) hi = later.hi;
    }
};

} // namespace

void zRangeForHeader(const Grid& g, double& zlo, double& zhi, bool* blanksExact) {
    constexpr std::size_t kStretch = 1 << 16;
    const std::size_t n = g.z.size();
    std::vector<Range> parts((n + kStretch - 1) / kStretch);
    forEachBlock(n, kStretch, [&](std::size_t first, std::size_t end) {
        parts[first / kStretch].add(g.z.data() + first, end - first);
    });
    Range all;
    for (const Range& r : parts) all.join(r);
    zlo = all.lo;
    zhi = all.hi;
    if (isBlank(zlo) || isBlank(zhi)) zlo = zhi = 0.0;
    if (blanksExact) *blanksExact = all.exact;
}

void damaged(const std::string& path, const std::string& why) {
    throw Error("The grid file " + path + " is damaged: " + why + ".");
}

void checkAxis(const std::string& path, double first, double last, const char* axis) {
    if (!std::isfinite(first) || !std::isfinite(last) || first == last)
        damaged(path, std::string("its ") + axis + " extent is not a range");
}

void setAxes(Grid& g, double xFirst, double xLast, double yFirst, double yLast, AxisOrder& order) {
    order.xReversed = xLast < xFirst;
    order.yReversed = yLast < yFirst;
    g.xMin = std::min(xFirst, xLast);
    g.xMax = std::max(xFirst, xLast);
    g.yMin = std::min(yFirst, yLast);
    g.yMax = std::max(yFirst, yLast);
}

void orientAxes(Grid& g, AxisOrder order) {
    const std::size_t cols = static_cast<std::size_t>(g.cols);
    if (order.yReversed)
        for (int top = 0, bottom = g.rows - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(g.z.begin() + top * cols, g.z.begin() + (top + 1) * cols, g.z.begin() + bottom * cols);
    if (order.xReversed)
        for (int r = 0; r < g.rows; ++r) std::reverse(g.z.begin() + r * cols, g.z.begin() + (r + 1) * cols);
}

} // namespace detail

namespace {

SurferGridFormat formatOf(std::string_view data, const std::string& path) {
    std::string_view tag = data.substr(0, 4);
    if (tag == "DSAA") return SurferGridFormat::Ascii;
    if (tag == "DSBB") return SurferGridFormat::Binary6;
    if (tag == "DSRB") return SurferGridFormat::Binary7;
    throw Error("The file " + path + " is not a Surfer grid (it starts with neither DSAA, DSBB nor DSRB).");
}

void checkWritableGrid(const Grid& g, const std::string& path) {
    const std::string head = "Cannot write the grid file " + path + ": ";
    if (g.cols < 2 || g.rows < 2) throw Error(head + "a grid needs at least 2 columns and 2 rows.");
    if (g.z.size() != static_cast<std::size_t>(g.cols) * static_cast<std::size_t>(g.rows))
        throw Error(head + "its heights do not match its column and row counts.");
    if (!std::isfinite(g.xMin) || !std::isfinite(g.xMax) || !(g.xMax > g.xMin) ||
        !std::isfinite(g.yMin) || !std::isfinite(g.yMax) || !(g.yMax > g.yMin))
        throw Error(head + "its x and y extents are not ranges.");
}

} // namespace

SurferGridFormat detectSurferGridFormat(const std::string& path) {
    // Only the tag is needed; large grids are not read for it.
    working::settleBeforeReading(path);
    if (!FileExists(path)) throw Error("Cannot open the grid file " + path + ": no such file.");
    InputFile in(path, "Cannot open the grid file " + path + ".");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(in.releaseAsStream(), &std::fclose);
    char tag[4] = {};
    const std::size_t got = std::fread(tag, 1, sizeof tag, f.get());
    return formatOf(std::string_view(tag, got), path);
}

namespace {

// An open Surfer 7 file read a section at a time, the heights straight into the grid.
class FileSource : public detail::Binary7Source {
public:
    FileSource(std::FILE* f, std::size_t size, const std::string& path) : f_(f), size_(size), path_(path) {}
    std::size_t size() const override { return size_; }
    std::string_view bytes(std::size_t pos, std::size_t len) override {
        buffer_.resize(len);
        read(pos, buffer_.data(), len);
        return buffer_;
    }
    void doubles(std::size_t pos, std::size_t n, double* out) override { read(pos, out, n * sizeof(double)); }

private:
    void read(std::size_t pos, void* out, std::size_t len) {
        if (::fseeko(f_, static_cast<off_t>(pos), SEEK_SET) != 0 || std::fread(out, 1, len, f_) != len)
            throw Error("Cannot read \"" + path_ + "\"");
    }
    std::FILE* f_;
    std::size_t size_;
    const std::string& path_;
    std::string buffer_;
};

// The grid of a Surfer 7 file without a copy of the whole file; nothing when the file
// is not one. A file no reader takes is refused here, saying why.
std::optional<Grid> readBinary7File(const std::string& path) {
    InputFile in(path);
    const std::size_t size = static_cast<std::size_t>(in.size());
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(in.releaseAsStream(), &std::fclose);
    char tag[4] = {};
    if (std::fread(tag, 1, sizeof tag, f.get()) != sizeof tag || std::memcmp(tag, "DSRB", 4) != 0) return std::nullopt;
    FileSource src(f.get(), size, path);
    return detail::parseBinary7(src, path);
}

} // namespace

Grid readSurferGrid(const std::string& path) {
    working::settleBeforeReading(path);
    return readSurferGridAsItStands(path);
}

Grid readSurferGridAsItStands(const std::string& path) {
    if (std::optional<Grid> g = readBinary7File(path)) return std::move(*g);
    const std::string data = readFileAsItStands(path);
    switch (formatOf(data, path)) {
    case SurferGridFormat::Ascii: return detail::parseAscii(data, path);
    case SurferGridFormat::Binary6: return detail::parseBinary6(data, path);
    case SurferGridFormat::Binary7: return detail::parseBinary7(data, path);
    }
    throw Error("The file " + path + " is not a Surfer grid.");
}

void writeSurferGrid(const std::string& path, const Grid& grid, SurferGridFormat format) {
    checkWritableGrid(grid, path);
    if (format == SurferGridFormat::Binary7) {
        detail::checkBinary7Size(grid, path);
        AtomicTextWriter w(path);
        detail::emitBinary7(grid, [&w](std::string_view bytes) { w.write(bytes); });
        w.commit();
        return;
    }
    std::string bytes;
    switch (format) {
    case SurferGridFormat::Ascii: bytes = detail::formatAscii(grid); break;
    case SurferGridFormat::Binary6: bytes = detail::formatBinary6(grid, path); break;
    case SurferGridFormat::Binary7: bytes = detail::formatBinary7(grid, path); break;
    }
    writeFileAtomic(path, bytes);
}

} // namespace trelvik::formats
