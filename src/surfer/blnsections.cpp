#include "surfer/blnsections.h"

#include "formats/blnfile.h"

namespace surfer {

std::vector<BlnSection> readBlnSections(const std::string& path) {
    std::vector<BlnSection> out;
    for (const auto& s : trelvik::formats::readBlnFile(path)) {
        BlnSection b;
        b.flag = s.flag;
        b.x.reserve(s.vertices.size());
        b.y.reserve(s.vertices.size());
        for (const auto& p : s.vertices) {
            b.x.push_back(p.x);
            b.y.push_back(p.y);
        }
        out.push_back(std::move(b));
    }
    return out;
}

} // namespace surfer
