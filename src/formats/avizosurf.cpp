#include "formats/avizosurf.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/pointtext.h"

#include <charconv>
#include <string_view>

namespace trelvik::formats {

PointList readAvizoSurfaceVertices(const std::string& path) {
    const std::string text = readWholeFile(path);
    const std::string_view all(text);
    if (all.rfind("# HyperSurface 0.1 BINARY", 0) == 0)
        throw Error(path + ": binary Avizo surface files are not supported; save the surface as ASCII");
    std::size_t pos = 0, line = 0;
    while (pos < all.size()) {
        std::size_t eol = all.find_first_of("\r\n", pos);
        if (eol == std::string_view::npos) eol = all.size();
        ++line;
        const std::string_view l = all.substr(pos, eol - pos);
        std::size_t next = eol;
        if (next < all.size() && all[next] == '\r' && next + 1 < all.size() && all[next + 1] == '\n') ++next;
        if (next < all.size()) ++next;
        // "Vertices", any one separator character, then the count.
        if (l.size() > 8 && l.substr(0, 8) == "Vertices") {
            std::string_view rest = l.substr(9);
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
            long long n = -1;
            const auto res = std::from_chars(rest.data(), rest.data() + rest.size(), n);
            if (res.ec != std::errc() || n < 0)
                throw Error(path + ": line " + std::to_string(line) + ": the vertex count is not a whole number");
            PointList pts = parsePointText(all.substr(next), path, line + 1, static_cast<std::size_t>(n));
            if (static_cast<long long>(pts.size()) < n)
                throw Error(path + ": announces " + std::to_string(n) + " vertices but holds " +
                            std::to_string(pts.size()));
            return pts;
        }
        pos = next;
    }
    throw Error(path + ": no vertex list (a line \"Vertices N\") was found; is it an Avizo surface file?");
}

} // namespace trelvik::formats
