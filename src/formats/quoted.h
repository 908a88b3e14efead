#pragma once
// The part of a text read from a file that a refusal quotes. A damaged file can hold
// one token or line of any length (a 2 GiB file may be a single token); quoting it
// whole costs copies of that size and a message box nobody can read, while its start
// is enough to find the place. Take the read text as a view: only the part kept is
// copied.
#include <cstddef>
#include <string>
#include <string_view>

namespace trelvik::formats {

// The most a quoted token keeps.
inline constexpr std::size_t kQuotedBytes = 40;
// The most a quoted whole line keeps: a line of several numbers needs a little more
// room to show the item at fault.
inline constexpr std::size_t kQuotedLineBytes = 60;

// `text` itself when it is at most `most` bytes; else its start, cut back to the first
// byte of a UTF-8 character so that no character is split, followed by "...". A
// character has at most three bytes after its first, so text that is no UTF-8 is cut
// at most three bytes short rather than emptied.
inline std::string quotedPart(std::string_view text, std::size_t most = kQuotedBytes) {
    if (text.size() <= most) return std::string(text);
    const std::size_t least = most > 3 ? most - 3 : 0;
    std::size_t n = most;
    while (n > least && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::string out(text.substr(0, n));
    out += "...";
    return out;
}

} // namespace trelvik::formats
