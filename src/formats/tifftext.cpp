#include "formats/tifftext.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/textlines_detail.h"

#include <charconv>
#include <limits>

namespace trelvik::formats {

namespace {

inline bool isSep(char c) { return c == '\t' || c == ',' || c == ' ' || c == '\r'; }

} // namespace

GreyMatrix readTiffGreyMatrix(const std::string& path) {
    const std::string text = readWholeFile(path);
    std::string_view body(text);
    // Empty lines at the end are not image rows.
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r' || body.back() == ' ' || body.back() == '\t'))
        body.remove_suffix(1);
    if (body.empty()) throw Error("The Tiff text file " + path + " is empty.");
    GreyMatrix m;
    detail::forEachLine(body, [&](std::size_t no, std::string_view line) {
        if (no == 1) {
            std::size_t fields = 0;
            std::size_t pos = 0;
            while (pos <= line.size()) {
                std::size_t tab = line.find('\t', pos);
                if (tab == std::string_view::npos) tab = line.size();
                std::string_view f = detail::trimmed(line.substr(pos, tab - pos));
                if (!f.empty()) ++fields;
                pos = tab + 1;
            }
            if (fields == 0) throw Error("The Tiff text file " + path + " line 1 holds no values.");
            if (fields > static_cast<std::size_t>(std::numeric_limits<int>::max()))
                throw Error("The Tiff text file " + path + " line 1 holds too many values.");
            m.ncols = static_cast<int>(fields);
        }
        const char* p = line.data();
        const char* e = p + line.size();
        int got = 0;
        for (;;) {
            while (p < e && isSep(*p)) ++p;
            if (p >= e) break;
            const char* s = *p == '+' ? p + 1 : p;
            double v = 0;
            const auto r = std::from_chars(s, e, v);
            if (r.ec != std::errc() || (r.ptr < e && !isSep(*r.ptr)))
                throw Error("The Tiff text file " + path + " line " + std::to_string(no) +
                            ": a value is not a number.");
            if (++got > m.ncols) break;
            m.values.push_back(v);
            p = r.ptr;
        }
        if (got != m.ncols)
            throw Error("The Tiff text file " + path + " line " + std::to_string(no) + " holds " +
                        (got > m.ncols ? "more" : std::to_string(got)) + " values; line 1 holds " +
                        std::to_string(m.ncols) + ".");
        ++m.nrows;
    });
    return m;
}

} // namespace trelvik::formats
