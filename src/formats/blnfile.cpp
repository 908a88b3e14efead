#include "formats/blnfile.h"

#include "core/error.h"
#include "core/textform.h"
#include "core/fileroutines.h"
#include "formats/textlines_detail.h"

#include <charconv>
#include <cmath>

namespace trelvik::formats {

BlnSection closedOutline(const PointXYList& points, int flag) {
    BlnSection s;
    s.flag = flag;
    s.vertices = points;
    if (!points.empty()) s.vertices.push_back(points.front());
    return s;
}

BlnSection openLine(const PointXYList& points, int flag) {
    BlnSection s;
    s.flag = flag;
    s.vertices = points;
    return s;
}

std::vector<BlnSection> toothStrips(const std::vector<PointXYList>& borders, int numTeeth, double xMin,
                                    double xMax, double yMin, double yMax, const std::string& borderFile) {
    if (numTeeth < 1) throw Error("No tooth chosen: there is nothing to cut from " + borderFile + ".");
    const std::size_t needed = numTeeth == 1 ? 1 : static_cast<std::size_t>(numTeeth - 1);
    if (borders.size() < needed)
        throw Error("The border file " + borderFile + " holds " + std::to_string(borders.size()) + " border(s); " +
                    std::to_string(numTeeth) + " teeth need " + std::to_string(numTeeth - 1) + ".");
    for (std::size_t b = 0; b < needed; ++b)
        if (borders[b].empty())
            throw Error("Border " + std::to_string(b + 1) + " of the border file " + borderFile + " has no points.");

    std::vector<BlnSection> strips;
    for (int t = 1; t <= numTeeth; ++t) {
        BlnSection s;
        PointXYList& v = s.vertices;
        if (t == 1) {
            const PointXYList& b = borders[0];
            v.push_back({xMin, yMax});
            v.insert(v.end(), b.begin(), b.end());
            v.push_back({xMax, yMax});
            v.push_back({xMin, yMax});
        } else if (t < numTeeth) {
            const PointXYList& upper = borders[t - 2];
            const PointXYList& lower = borders[t - 1];
            v.insert(v.end(), upper.begin(), upper.end());
            v.insert(v.end(), lower.rbegin(), lower.rend());
            v.push_back(upper.front());
        } else {
            const PointXYList& b = borders[t - 2];
            v.push_back({xMin, yMin});
            v.insert(v.end(), b.begin(), b.end());
            v.push_back({xMax, yMin});
            v.push_back({xMin, yMin});
        }
        strips.push_back(std::move(s));
    }
    return strips;
}

std::string formatBlnFile(const std::vector<BlnSection>& sections, BlnLayout layout, const std::string& path) {
    std::string out;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const BlnSection& s = sections[i];
        const double count = static_cast<double>(s.vertices.size());
        if (s.vertices.empty())
            throw Error("Cannot write " + path + ": section " + std::to_string(i + 1) + " has no points.");
        if (!s.literalHeader.empty()) {
            double v[1];
            if (detail::leadingNumbers(detail::trimmed(s.literalHeader), v, 1) != 1 || v[0] != count)
                throw Error("Cannot write " + path + ": the header \"" + s.literalHeader + "\" does not give the " +
                            std::to_string(s.vertices.size()) + " points of its section.");
            out += s.literalHeader;
        } else if (layout == BlnLayout::Zone) {
            out += text::PrintLine().num(count).text(std::to_string(s.flag)).str();
        } else {
            out += text::WriteLine().num(count).num(s.flag).str();
        }
        out += "\r\n";
        for (const PointXY& p : s.vertices) {
            out += layout == BlnLayout::Zone ? text::PrintLine().num(p.x).num(p.y).str()
                                             : text::WriteLine().num(p.x).num(p.y).str();
            out += "\r\n";
        }
    }
    return out;
}

void writeBlnFile(const std::string& path, const std::vector<BlnSection>& sections, BlnLayout layout) {
    writeFileAtomic(path, formatBlnFile(sections, layout, path));
}

std::vector<BlnSection> readBlnFile(const std::string& path) {
    const std::string text = readWholeFile(path);
    std::vector<BlnSection> sections;
    std::size_t pending = 0;  // vertices still due in the current section
    std::size_t lastLine = 0;
    auto fail = [&](std::size_t lineNo, const std::string& why) {
        throw Error("The blanking file " + path + " is damaged at line " + std::to_string(lineNo) + ": " + why + ".");
    };
    detail::forEachLine(text, [&](std::size_t lineNo, std::string_view line) {
        lastLine = lineNo;
        std::string_view items = detail::trimmed(line);
        if (items.empty()) return;
        double v[2];
        int got = detail::leadingNumbers(items, v, 2);
        for (int k = 0; k < got; ++k)
            if (!std::isfinite(v[k])) fail(lineNo, "a value is not a finite number");
        if (pending == 0) {
            if (got < 2) fail(lineNo, "a section header needs a vertex count and a flag");
            if (v[0] < 1 || v[0] != std::floor(v[0]) || v[0] > 1e8) fail(lineNo, "the vertex count is not a whole number of at least 1");
            if (v[1] != std::floor(v[1]) || std::fabs(v[1]) > 1e9) fail(lineNo, "the flag is not a whole number");
            BlnSection s;
            s.flag = static_cast<int>(v[1]);
            pending = static_cast<std::size_t>(v[0]);
            s.vertices.reserve(std::min<std::size_t>(pending, 1 << 16));
            sections.push_back(std::move(s));
        } else {
            if (got < 2) fail(lineNo, "a vertex line needs x and y");
            sections.back().vertices.push_back({v[0], v[1]});
            --pending;
        }
    });
    if (pending > 0) fail(lastLine + 1, "the file ends " + std::to_string(pending) + " vertex line(s) early");
    if (sections.empty()) throw Error("The blanking file " + path + " holds no outline.");
    return sections;
}

} // namespace trelvik::formats
