// Surfer binary grids, little-endian throughout.
//
// Surfer 6 binary (DSBB): "DSBB", int16 nx, int16 ny, double xlo xhi ylo yhi zlo zhi,
// then nx * ny float32 heights row after row from ylo up; blank = 1.70141E+38 as float.
//
// Surfer 7 binary (DSRB): a chain of sections, each a 4-byte tag and an int32 byte size.
// "DSRB" (size 4: int32 version), "GRID" (size 72: int32 nRow, int32 nCol, double xLL,
// yLL, xSize, ySize, zMin, zMax, rotation, blankValue), "DATA" (nRow * nCol doubles,
// rows from yLL up). Other sections (fault lines) are passed over by their size.
// Version 1 blanks heights at or above blankValue, version 2 only those equal to it.
#include "formats/surfergrid_detail.h"

#include "core/error.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

static_assert(std::endian::native == std::endian::little,
              "grid files are little-endian; a big-endian build needs byte swapping here");

namespace trelvik::formats::detail {

namespace {

constexpr float kBlank6 = 1.70141e38f;
constexpr std::size_t kHeader6 = 4 + 2 + 2 + 6 * 8;
constexpr std::size_t kGridSection = 2 * 4 + 8 * 8;

template <class T>
T load(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
void store(std::string& out, T v) {
    char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    out.append(b, sizeof v);
}

void checkCounts(const std::string& path, long long nx, long long ny) {
    if (nx < 2 || ny < 2) damaged(path, "a grid needs at least 2 columns and 2 rows");
    if (nx > kMaxGridSide || ny > kMaxGridSide || nx * ny > kMaxGridNodes)
        damaged(path, "its node counts are too large");
}

} // namespace

Grid parseBinary6(std::string_view data, const std::string& path) {
    if (data.size() < kHeader6 || data.substr(0, 4) != "DSBB") damaged(path, "its header is incomplete");
    const char* p = data.data();
    long long nx = load<std::int16_t>(p + 4);
    long long ny = load<std::int16_t>(p + 6);
    checkCounts(path, nx, ny);
    Grid g;
    g.cols = static_cast<int>(nx);
    g.rows = static_cast<int>(ny);
    const double xlo = load<double>(p + 8), xhi = load<double>(p + 16);
    const double ylo = load<double>(p + 24), yhi = load<double>(p + 32);
    checkAxis(path, xlo, xhi, "x");
    checkAxis(path, ylo, yhi, "y");
    AxisOrder order;
    setAxes(g, xlo, xhi, ylo, yhi, order);
    const std::size_t n = static_cast<std::size_t>(nx * ny);
    if (data.size() - kHeader6 < n * sizeof(float)) damaged(path, "it holds fewer heights than its counts say");
    g.z.resize(n);
    const char* q = p + kHeader6;
    for (std::size_t i = 0; i < n; ++i) {
        float f = load<float>(q + i * sizeof(float));
        double v = f;
        g.z[i] = (f >= kBlank6 || isBlank(v)) ? kBlank : v;
    }
    orientAxes(g, order);
    return g;
}

std::string formatBinary6(const Grid& g, const std::string& path) {
    if (g.cols > std::numeric_limits<std::int16_t>::max() || g.rows > std::numeric_limits<std::int16_t>::max())
        throw Error("Cannot write " + path + " as a Surfer 6 binary grid: it holds at most 32767 columns and rows");
    double zlo, zhi;
    zRangeForHeader(g, zlo, zhi);
    std::string out;
    out.reserve(kHeader6 + g.z.size() * sizeof(float));
    out += "DSBB";
    store<std::int16_t>(out, static_cast<std::int16_t>(g.cols));
    store<std::int16_t>(out, static_cast<std::int16_t>(g.rows));
    for (double v : {g.xMin, g.xMax, g.yMin, g.yMax, zlo, zhi}) store<double>(out, v);
    const std::size_t start = out.size();
    out.resize(start + g.z.size() * sizeof(float));
    char* q = out.data() + start;
    for (std::size_t i = 0; i < g.z.size(); ++i) {
        double v = g.z[i];
        float f = isBlank(v) ? kBlank6 : static_cast<float>(v);
        std::memcpy(q + i * sizeof(float), &f, sizeof f);
    }
    return out;
}

namespace {

class ViewSource : public Binary7Source {
public:
    explicit ViewSource(std::string_view data) : data_(data) {}
    std::size_t size() const override { return data_.size(); }
    std::string_view bytes(std::size_t pos, std::size_t len) override { return data_.substr(pos, len); }
    void doubles(std::size_t pos, std::size_t n, double* out) override {
        std::memcpy(out, data_.data() + pos, n * sizeof(double));
    }

private:
    std::string_view data_;
};

} // namespace

Grid parseBinary7(std::string_view data, const std::string& path) {
    ViewSource src(data);
    return parseBinary7(src, path);
}

Grid parseBinary7(Binary7Source& src, const std::string& path) {
    const std::size_t size = src.size();
    if (size < 12 || src.bytes(0, 4) != "DSRB") damaged(path, "its header is incomplete");
    std::size_t pos = 0;
    int version = 1;
    bool haveGrid = false;
    long long nRow = 0, nCol = 0;
    double xLL = 0, yLL = 0, xSize = 0, ySize = 0, blankValue = kBlank;
    while (pos + 8 <= size) {
        const std::string_view head = src.bytes(pos, 8);
        const std::string tag(head.substr(0, 4));
        std::int32_t len = load<std::int32_t>(head.data() + 4);
        pos += 8;
        if (len < 0 || static_cast<std::size_t>(len) > size - pos) {
            // Only a tag the format knows is worth quoting; other bytes are no section.
            const bool known = tag == "DSRB" || tag == "GRID" || tag == "DATA" || tag == "FLTI" || tag == "TRCE";
            if (!known) throw Error("The file " + path + " is not a Surfer grid.");
            damaged(path, "its " + tag + " section runs past the end of the file");
        }
        if (tag == "DSRB") {
            if (len < 4) damaged(path, "its header section is too short");
            version = load<std::int32_t>(src.bytes(pos, 4).data());
        } else if (tag == "GRID") {
            if (static_cast<std::size_t>(len) < kGridSection) damaged(path, "its GRID section is too short");
            const char* s = src.bytes(pos, kGridSection).data();
            nRow = load<std::int32_t>(s);
            nCol = load<std::int32_t>(s + 4);
            xLL = load<double>(s + 8);
            yLL = load<double>(s + 16);
            xSize = load<double>(s + 24);
            ySize = load<double>(s + 32);
            blankValue = load<double>(s + 64);
            checkCounts(path, nCol, nRow);
            checkAxis(path, xLL, xLL + xSize * static_cast<double>(nCol - 1), "x");
            checkAxis(path, yLL, yLL + ySize * static_cast<double>(nRow - 1), "y");
            haveGrid = true;
        } else if (tag == "DATA") {
            if (!haveGrid) damaged(path, "its DATA section comes before its GRID section");
            const std::size_t n = static_cast<std::size_t>(nRow * nCol);
            if (static_cast<std::size_t>(len) < n * sizeof(double))
                damaged(path, "it holds fewer heights than its counts say");
            Grid g;
            g.cols = static_cast<int>(nCol);
            g.rows = static_cast<int>(nRow);
            AxisOrder order;
            setAxes(g, xLL, xLL + xSize * static_cast<double>(nCol - 1), yLL,
                    yLL + ySize * static_cast<double>(nRow - 1), order);
            g.z.resize(n);
            double* z = g.z.data();
            src.doubles(pos, n, z);  // straight into the grid, then blanked in place
            const bool atOrAbove = version != 2;
            for (std::size_t i = 0; i < n; ++i) {
                const double v = z[i];
                const bool blank = atOrAbove ? v >= blankValue : v == blankValue;
                z[i] = (blank || isBlank(v)) ? kBlank : v;
            }
            orientAxes(g, order);
            return g;
        }
        pos += static_cast<std::size_t>(len);
    }
    damaged(path, haveGrid ? "it has no DATA section" : "it has no GRID section");
}

void checkBinary7Size(const Grid& g, const std::string& path) {
    if (g.z.size() * sizeof(double) > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw Error("Cannot write " + path + " as a Surfer 7 binary grid: too many nodes for one DATA section");
}

void emitBinary7(const Grid& g, const std::function<void(std::string_view)>& put) {
    const std::size_t n = g.z.size();
    double zlo, zhi;
    bool blanksExact = false;
    zRangeForHeader(g, zlo, zhi, &blanksExact);
    std::string out;
    out.reserve(12 + 8 + kGridSection + 8);
    out += "DSRB";
    store<std::int32_t>(out, 4);
    store<std::int32_t>(out, 1);
    out += "GRID";
    store<std::int32_t>(out, static_cast<std::int32_t>(kGridSection));
    store<std::int32_t>(out, g.rows);
    store<std::int32_t>(out, g.cols);
    for (double v : {g.xMin, g.yMin, g.xSpacing(), g.ySpacing(), zlo, zhi, 0.0, kBlank}) store<double>(out, v);
    out += "DATA";
    store<std::int32_t>(out, static_cast<std::int32_t>(n * sizeof(double)));
    put(out);
    if (blanksExact) {  // the heights as they stand, in one piece
        put({reinterpret_cast<const char*>(g.z.data()), n * sizeof(double)});
        return;
    }
    // Blank nodes are written as the one blank value whatever the grid held (NaN or
    // other huge values), so readers that compare for equality see them as blank too.
    // The heights go out in pieces: no file-sized buffer to fill and copy again.
    constexpr std::size_t kPiece = 1 << 13;
    double piece[kPiece];
    for (std::size_t first = 0; first < n; first += kPiece) {
        const std::size_t count = std::min(kPiece, n - first);
        const double* z = g.z.data() + first;
        for (std::size_t i = 0; i < count; ++i) piece[i] = isBlank(z[i]) ? kBlank : z[i];
        put({reinterpret_cast<const char*>(piece), count * sizeof(double)});
    }
}

std::string formatBinary7(const Grid& g, const std::string& path) {
    checkBinary7Size(g, path);
    std::string out;
    out.reserve(12 + 8 + kGridSection + 8 + g.z.size() * sizeof(double));
    emitBinary7(g, [&out](std::string_view bytes) { out.append(bytes); });
    return out;
}

} // namespace trelvik::formats::detail
