#include "formats/pointtext.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/parallelblocks.h"
#include "core/commit/workingfiles.h"
#include "formats/numberrange.h"
#include "formats/pointtextblocks.h"
#include "formats/quoted.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace trelvik::formats {

namespace {

inline bool isSep(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The numbers of one block. A point may wrap over lines and so over blocks: the numbers
// become points only once the blocks are joined in file order.
struct NumbersPart : blocks::BlockPart {
    std::vector<double> values;
    // Lines (within the block) of its last number and of the one before: the start of an
    // incomplete last point is one of them.
    std::size_t lastLines[2] = {0, 0};
};

void readNumbers(std::string_view text, NumbersPart& part) {
    part.values.reserve(text.size() / 4 + 1);
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t line = 0;
    while (p < end) {
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
            (res.ec == std::errc() && !std::isfinite(x))) {
            part.refusal = blocks::Refusal{line, ": \"" + quotedPart({p, static_cast<std::size_t>(q - p)}) +
                                                     "\" is not a number (a point is three numbers x, y, z)"};
            break;
        }
        if (res.ec == std::errc::result_out_of_range) x = outOfRangeNumber(b, q, 1.7e308);
        part.values.push_back(x);
        part.lastLines[1] = part.lastLines[0];
        part.lastLines[0] = line;
        p = q;
    }
    part.lines = line;
}

inline void setCoordinate(PointXYZ& p, std::size_t k, double v) {
    if (k == 0) p.x = v;
    else if (k == 1) p.y = v;
    else p.z = v;
}

PointList parseBlocks(const blocks::TextBlocks& text, const std::string& path, std::size_t firstLine,
                      std::size_t maxPoints) {
    if (maxPoints == 0) return {};
    std::vector<NumbersPart> parts = blocks::parseParts<NumbersPart>(text, readNumbers);
    // In file order, as one pass reads them: numbers until the last point wanted, or
    // until the first item that is not a number.
    const std::size_t limit =
        maxPoints > std::numeric_limits<std::size_t>::max() / 3 ? std::numeric_limits<std::size_t>::max() : 3 * maxPoints;
    std::vector<std::size_t> start(parts.size() + 1, 0), firstLineOf(parts.size(), firstLine);
    std::size_t total = 0, line = firstLine, used = 0;
    for (; used < parts.size() && total < limit; ++used) {
        const NumbersPart& part = parts[used];
        firstLineOf[used] = line;
        start[used] = total;
        const std::size_t take = std::min(part.values.size(), limit - total);
        if (part.refusal && total + part.values.size() < limit)
            throw Error(blocks::refusalAt(path, line, *part.refusal));
        total += take;
        line += part.lines;
    }
    start[used] = total;
    if (total < limit && total % 3 != 0) {
        // The incomplete point starts at one of the last two numbers of the text.
        const std::size_t first = total - total % 3;
        std::size_t k = used;
        while (start[k - 1] > first) --k;
        const std::size_t back = start[k] - 1 - first;
        throw Error(path + ": line " + std::to_string(firstLineOf[k - 1] + parts[k - 1].lastLines[back]) +
                    ": the last point has only " + std::to_string(total % 3) + " of its three numbers");
    }
    PointList pts(total / 3);
    forEachBlock(used, 1, [&](std::size_t k0, std::size_t k1) {
        for (std::size_t k = k0; k < k1; ++k) {
            const std::vector<double>& v = parts[k].values;
            for (std::size_t g = start[k]; g < start[k + 1]; ++g) setCoordinate(pts[g / 3], g % 3, v[g - start[k]]);
        }
    });
    return pts;
}

} // namespace

PointList parsePointText(std::string_view text, const std::string& path, std::size_t firstLine,
                         std::size_t maxPoints) {
    return parseBlocks(blocks::TextBlocks(text), path, firstLine, maxPoints);
}

PointList readPointText(const std::string& path) {
    working::settleBeforeReading(path);
    const InputFile in(path);
    return parseBlocks(blocks::TextBlocks(in, path), path, 1, static_cast<std::size_t>(-1));
}

} // namespace trelvik::formats
