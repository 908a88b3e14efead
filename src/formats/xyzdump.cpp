#include "formats/xyzdump.h"

#include "core/error.h"
#include "formats/fastnumber.h"
#include "core/fileroutines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace trelvik::formats {

namespace {

constexpr std::size_t kChunk = 1 << 20;

inline bool isSep(char c) { return c == ' ' || c == '\t' || c == ','; }

} // namespace

void writeXyzDump(const std::string& path, const Grid& grid) {
    if (grid.cols < 1 || grid.rows < 1 ||
        grid.z.size() != static_cast<std::size_t>(grid.cols) * static_cast<std::size_t>(grid.rows))
        throw Error("Cannot write the XYZ file " + path + ": the grid's heights do not match its size.");

    // Every row repeats the same x values, so their text is made once.
    std::vector<std::string> xText(static_cast<std::size_t>(grid.cols));
    char num[kGeneralNumberMax];
    for (int c = 0; c < grid.cols; ++c) xText[c].assign(num, writeGeneralNumber(num, grid.x(c)));
    char blankText[kGeneralNumberMax];
    const std::size_t blankLen = static_cast<std::size_t>(writeGeneralNumber(blankText, kBlank) - blankText);

    AtomicTextWriter out(path);
    std::string buf(kChunk + 256, '\0');
    char* const start = buf.data();
    char* p = start;
    for (int r = 0; r < grid.rows; ++r) {
        char yText[kGeneralNumberMax];
        const std::size_t yLen = static_cast<std::size_t>(writeGeneralNumber(yText, grid.y(r)) - yText);
        const double* row = grid.z.data() + static_cast<std::size_t>(r) * grid.cols;
        for (int c = 0; c < grid.cols; ++c) {
            const std::string& x = xText[c];
            std::memcpy(p, x.data(), x.size());
            p += x.size();
            *p++ = ' ';
            std::memcpy(p, yText, yLen);
            p += yLen;
            *p++ = ' ';
            const double z = row[c];
            if (isBlank(z)) {
                std::memcpy(p, blankText, blankLen);
                p += blankLen;
            } else {
                p = writeGeneralNumber(p, z);
            }
            *p++ = '\r';
            *p++ = '\n';
            if (static_cast<std::size_t>(p - start) >= kChunk) {
                out.write({start, static_cast<std::size_t>(p - start)});
                p = start;
            }
        }
    }
    out.write({start, static_cast<std::size_t>(p - start)});
    out.commit();
}

PointList readXyzDump(const std::string& path) {
    const std::string text = readWholeFile(path);
    PointList points;
    points.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t lineNo = 0;
    while (p < end) {
        ++lineNo;
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (!eol) eol = end;
        const char* lineEnd = (eol > p && eol[-1] == '\r') ? eol - 1 : eol;
        double v[3];
        int got = 0;
        const char* q = p;
        while (got < 3) {
            while (q < lineEnd && isSep(*q)) ++q;
            if (q >= lineEnd) break;
            if (*q == '+') ++q;
            auto res = std::from_chars(q, lineEnd, v[got]);
            if (res.ec == std::errc::result_out_of_range) {
                // Beyond double range: a tiny magnitude is 0; a huge one can only be a blank
                // marker written with extra digits, so it stays blank (or its negative).
                double approx = std::strtod(std::string(q, res.ptr).c_str(), nullptr);
                v[got] = std::fabs(approx) < 1.0 ? 0.0 : (approx < 0 ? -kBlank : kBlank);
            } else if (res.ec != std::errc() || (res.ptr < lineEnd && !isSep(*res.ptr))) {
                break;
            }
            q = res.ptr;
            ++got;
        }
        if (got == 3) {
            points.push_back({v[0], v[1], v[2]});
        } else {
            const char* s = p;
            while (s < lineEnd && isSep(*s)) ++s;
            if (s < lineEnd)
                throw Error("The XYZ file " + path + " has no x, y and z on line " + std::to_string(lineNo) + ": \"" +
                            std::string(p, std::min<std::size_t>(static_cast<std::size_t>(lineEnd - p), 60)) + "\".");
        }
        p = eol + 1;
    }
    return points;
}

} // namespace trelvik::formats
