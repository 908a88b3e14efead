#include "formats/slicefile.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/quoted.h"
#include "formats/textlines_detail.h"

namespace trelvik::formats {

std::vector<SlicePoint> readSliceFile(const std::string& path) {
    const std::string text = readWholeFile(path);
    std::vector<SlicePoint> points;
    points.reserve(text.size() / 40);
    detail::forEachLine(text, [&](std::size_t lineNo, std::string_view line) {
        const std::string_view item = detail::trimmed(line);
        if (item.empty()) return;
        double v[5];
        if (detail::leadingNumbers(item, v, 5) < 5)
            throw Error("The slice file " + path + " does not hold five numbers on line " + std::to_string(lineNo) +
                        ": \"" + quotedPart(item, kQuotedLineBytes) + "\".");
        points.push_back({v[0], v[1], v[2], v[3]});
    });
    return points;
}

} // namespace trelvik::formats
