#pragma once
// Whether two paths name one file or folder, for the checks that ask "is this where the
// step reads?": a save through a link to the file, or a folder named with a trailing
// separator, is still the same place.
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <system_error>

namespace trelvik {

// The path made absolute and lexically normal (no ".", "..", or doubled separators).
inline std::string normalPath(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

// The same file on disk (a link to it included), or, while either is missing, the same
// absolute path.
inline bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec)) return std::filesystem::equivalent(a, b, ec);
    return normalPath(a) == normalPath(b);
}

// The same file on disk, by what a stat of each found.
inline bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

} // namespace trelvik
