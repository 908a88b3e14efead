// Surfer ASCII grid (DSAA): the tag "DSAA", then the counts "nx ny", the extents
// "xlo xhi", "ylo yhi", "zlo zhi", then nx * ny heights row after row from ylo up,
// x increasing within a row. Items are separated by any white space; blank nodes
// hold 1.70141E+38.
#include "formats/surfergrid_detail.h"

#include "core/error.h"
#include "formats/numberrange.h"
#include "formats/quoted.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace trelvik::formats::detail {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

class Tokens {
public:
    Tokens(std::string_view data, const std::string& path) : p_(data.data()), end_(data.data() + data.size()), path_(path) {}

    std::string_view next(const char* what) {
        while (p_ < end_ && isSpace(*p_)) ++p_;
        if (p_ == end_) damaged(path_, std::string("it ends before ") + what);
        const char* start = p_;
        while (p_ < end_ && !isSpace(*p_)) ++p_;
        return {start, static_cast<std::size_t>(p_ - start)};
    }

    double number(const char* what) {
        std::string_view t = next(what);
        const char* b = t.data();
        const char* e = b + t.size();
        if (b < e && *b == '+') ++b;
        double v = 0;
        auto [ptr, ec] = std::from_chars(b, e, v);
        if (ec == std::errc::result_out_of_range && ptr == e) {
            // Beyond double range: a tiny magnitude is 0, a huge positive one can only be
            // meant as blank; a huge negative one is no height and counts as damage.
            const double beyond = outOfRangeNumber(b, e, kBlank);
            if (beyond >= 0) return beyond;
        }
        if (ec != std::errc() || ptr != e)
            damaged(path_, "\"" + quotedPart(t) + "\" is not a number (" + what + ")");
        return v;
    }

    long long whole(const char* what) {
        double v = number(what);
        if (!(v == std::floor(v)) || std::fabs(v) > 1e15)
            damaged(path_, std::string(what) + " is not a whole number");
        return static_cast<long long>(v);
    }

    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }

private:
    const char* p_;
    const char* end_;
    const std::string& path_;
};

void appendNumber(std::string& out, double v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

} // namespace

Grid parseAscii(std::string_view data, const std::string& path) {
    Tokens tok(data, path);
    if (tok.next("the tag DSAA") != "DSAA") damaged(path, "it does not start with DSAA");
    long long nx = tok.whole("the column count");
    long long ny = tok.whole("the row count");
    if (nx < 2 || ny < 2) damaged(path, "a grid needs at least 2 columns and 2 rows");
    if (nx > kMaxGridSide || ny > kMaxGridSide || nx * ny > kMaxGridNodes)
        damaged(path, "its node counts are too large");
    double xlo = tok.number("x minimum"), xhi = tok.number("x maximum");
    double ylo = tok.number("y minimum"), yhi = tok.number("y maximum");
    tok.number("z minimum");
    tok.number("z maximum");
    checkAxis(path, xlo, xhi, "x");
    checkAxis(path, ylo, yhi, "y");
    const std::size_t n = static_cast<std::size_t>(nx * ny);
    // Every height takes at least one character and one separator; a shorter file is
    // truncated, and saying so before allocating keeps a bad count harmless.
    if (n > tok.remaining() / 2 + 1) damaged(path, "it holds fewer heights than its counts say");

    Grid g;
    g.cols = static_cast<int>(nx);
    g.rows = static_cast<int>(ny);
    AxisOrder order;
    setAxes(g, xlo, xhi, ylo, yhi, order);
    g.z.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        double v = tok.number("the last height");
        g.z[i] = isBlank(v) ? kBlank : v;
    }
    orientAxes(g, order);
    return g;
}

std::string formatAscii(const Grid& g) {
    double zlo, zhi;
    zRangeForHeader(g, zlo, zhi);
    std::string out;
    out.reserve(static_cast<std::size_t>(g.cols) * g.rows * 20 + 256);
    out += "DSAA\r\n";
    out += std::to_string(g.cols) + " " + std::to_string(g.rows) + "\r\n";
    const double pairs[3][2] = {{g.xMin, g.xMax}, {g.yMin, g.yMax}, {zlo, zhi}};
    for (const auto& p : pairs) {
        appendNumber(out, p[0]);
        out += ' ';
        appendNumber(out, p[1]);
        out += "\r\n";
    }
    // Ten heights a line and an empty line after each row, the way grids of this kind
    // are usually laid out, so that a row can be found by eye.
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.cols; ++c) {
            double v = g.at(c, r);
            appendNumber(out, isBlank(v) ? kBlank : v);
            out += ((c + 1) % 10 == 0 || c + 1 == g.cols) ? "\r\n" : " ";
        }
        out += "\r\n";
    }
    return out;
}

} // namespace trelvik::formats::detail
