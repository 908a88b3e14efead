#include "formats/alicona.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/pointtext.h"

#include <charconv>

namespace trelvik::formats {

long long aliconaHeaderCount(std::string_view line, const std::string& path) {
    const auto open = line.find('{');
    const auto close = open == std::string_view::npos ? open : line.find('}', open);
    auto bad = [&] {
        return Error(path + ": line 1: the header does not give the number of points in braces, as \"{ 2500 }\"");
    };
    if (close == std::string_view::npos) throw bad();
    std::string_view inner = line.substr(open + 1, close - open - 1);
    while (!inner.empty() && (inner.front() == ' ' || inner.front() == '\t')) inner.remove_prefix(1);
    while (!inner.empty() && (inner.back() == ' ' || inner.back() == '\t')) inner.remove_suffix(1);
    long long n = -1;
    const auto res = std::from_chars(inner.data(), inner.data() + inner.size(), n);
    if (inner.empty() || res.ec != std::errc() || res.ptr != inner.data() + inner.size() || n < 0) throw bad();
    return n;
}

PointList readAliconaText(const std::string& path) {
    const std::string text = readWholeFile(path);
    std::size_t eol = text.find_first_of("\r\n");
    const std::string_view header = std::string_view(text).substr(0, eol == std::string::npos ? text.size() : eol);
    const long long count = aliconaHeaderCount(header, path);
    std::size_t body = eol == std::string::npos ? text.size() : eol + 1;
    if (body < text.size() && text[eol] == '\r' && text[body] == '\n') ++body;
    PointList pts =
        parsePointText(std::string_view(text).substr(body), path, 2, static_cast<std::size_t>(count));
    if (static_cast<long long>(pts.size()) < count)
        throw Error(path + ": the header announces " + std::to_string(count) + " points but the file holds " +
                    std::to_string(pts.size()));
    return pts;
}

} // namespace trelvik::formats
