#pragma once
// Line-by-line scanning of small point texts (digitise and blanking-line files):
// lines end in LF or CR LF; items are separated by commas, blanks or tabs.
#include <charconv>
#include <cstddef>
#include <string_view>

namespace trelvik::formats::detail {

// Calls fn(lineNumber from 1, line without its line end) for every line.
template <class Fn>
void forEachLine(std::string_view text, Fn&& fn) {
    std::size_t pos = 0, lineNo = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        fn(++lineNo, line);
        pos = end + 1;
    }
}

inline bool isItemSep(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r'; }

inline std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isItemSep(s.front()) && s.front() != ',') s.remove_prefix(1);
    while (!s.empty() && isItemSep(s.back()) && s.back() != ',') s.remove_suffix(1);
    return s;
}

// Reads up to `want` leading numeric items of a line into out[]; returns how many
// were read before the first item that is not wholly a number (or the line's end).
// A comma next to blanks counts as one separator, as list input takes it.
inline int leadingNumbers(std::string_view line, double* out, int want) {
    const char* p = line.data();
    const char* end = p + line.size();
    int got = 0;
    while (got < want) {
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        if (got > 0 && p < end && *p == ',') {
            ++p;
            while (p < end && (*p == ' ' || *p == '\t')) ++p;
        }
        if (p >= end) break;
        const char* itemEnd = p;
        while (itemEnd < end && !isItemSep(*itemEnd)) ++itemEnd;
        const char* b = (*p == '+') ? p + 1 : p;
        double v = 0;
        auto res = std::from_chars(b, itemEnd, v);
        if (res.ec != std::errc() || res.ptr != itemEnd) break;
        out[got++] = v;
        p = itemEnd;
    }
    return got;
}

} // namespace trelvik::formats::detail
