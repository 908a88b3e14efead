#pragma once
// Cutting a text into pieces to be parsed on several threads: each cut falls just after
// a line feed, where a line always begins whatever the line ends (CR LF, LF or CR), so
// every piece holds whole lines and the pieces read in order give the lines of the text.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace trelvik {

// [begin, end) cut into at most `pieces` pieces of about equal size. The pointers
// returned start with begin and end with end; piece k is [cuts[k], cuts[k + 1]). A text
// without line feeds stays one piece.
inline std::vector<const char*> cutAfterLineFeeds(const char* begin, const char* end, std::size_t pieces) {
    std::vector<const char*> cuts{begin};
    const std::size_t size = static_cast<std::size_t>(end - begin);
    for (std::size_t k = 1; k < pieces; ++k) {
        const char* from = std::max(cuts.back(), begin + size / pieces * k);
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
        if (!lf || lf + 1 >= end) break;
        cuts.push_back(lf + 1);
    }
    cuts.push_back(end);
    return cuts;
}

} // namespace trelvik
