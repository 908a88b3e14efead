#include "formats/digitisefile.h"

#include "core/error.h"
#include "core/textform.h"
#include "core/fileroutines.h"
#include "formats/quoted.h"
#include "formats/textlines_detail.h"

#include <cmath>

namespace trelvik::formats {

std::vector<PointXYList> readDigitiseGroups(const std::string& path) {
    const std::string text = readWholeFile(path);
    std::vector<PointXYList> groups(1);
    std::size_t points = 0;
    detail::forEachLine(text, [&](std::size_t lineNo, std::string_view line) {
        std::string_view item = detail::trimmed(line);
        if (item.empty()) return;  // a stray empty line is no point
        if (item == "-1") {
            groups.emplace_back();
            return;
        }
        double v[2];
        if (detail::leadingNumbers(item, v, 2) < 2)
            throw Error("The digitise file " + path + " has no x and y on line " + std::to_string(lineNo) +
                        ": \"" + quotedPart(item, kQuotedLineBytes) + "\".");
        if (!std::isfinite(v[0]) || !std::isfinite(v[1]))
            throw Error("The digitise file " + path + " has a coordinate that is not a finite number on line " +
                        std::to_string(lineNo) + ": \"" + quotedPart(item, kQuotedLineBytes) + "\".");
        groups.back().push_back({v[0], v[1]});
        ++points;
    });
    if (points == 0) throw Error("The digitise file " + path + " holds no points.");
    return groups;
}

PointXYList readDigitisePoints(const std::string& path) {
    PointXYList all;
    for (const PointXYList& g : readDigitiseGroups(path)) all.insert(all.end(), g.begin(), g.end());
    return all;
}

std::string writeDigitiseFile(const std::string& path, const std::vector<PointXYList>& groups) {
    std::string out;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i > 0) out += "-1\r\n";
        for (const PointXY& p : groups[i]) {
            out += text::WriteLine().num(p.x).num(p.y).str();
            out += "\r\n";
        }
    }
    writeFileAtomic(path, out);
    return out;
}

} // namespace trelvik::formats
