#pragma once
// Grids the stand-in has just written or read, kept in memory so that the next operation
// on the same file (a chain of curvature, smoothing or volume steps) neither reads nor
// parses it again.
//
// An entry is keyed by the file's path and its stamp: device, file number, size and the
// times of its last change (to the nanosecond). A file replaced or rewritten by anyone
// since has another stamp, and its entry is not used. The grid kept is exactly the one
// readInputGrid would return for the file: a grid written as Surfer 7 binary is kept
// with the extents and blanks its reading gives back; other written forms are not kept.
// The entries are bounded by kGridCacheBytes (least recently used go first) and entries
// whose files are gone or changed are dropped at every store. Safe to call from several
// threads.
#include "core/grid.h"

#include <cstddef>
#include <optional>
#include <string>

namespace surfer::detail {

inline constexpr std::size_t kGridCacheBytes = std::size_t{256} << 20;

// What tells one state of a file from another; nothing when it is not a regular file.
struct FileStamp {
    unsigned long long dev = 0, ino = 0;
    long long size = 0, mtime = 0, ctime = 0;  // times in nanoseconds
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> fileStamp(const std::string& path);

// The grid kept for path when the file still has the stamp it was kept with.
std::optional<trelvik::Grid> cachedGrid(const std::string& path, const std::optional<FileStamp>& now);
// Keeps g as the content of path with the stamp the file had when it was read (taken
// before reading, so a change during the read is seen as a change), or as it stands now
// after the stand-in has written it.
void keepGrid(const std::string& path, const std::optional<FileStamp>& stamp, trelvik::Grid g);
// Forgets path (a file rewritten in a form that is not kept).
void forgetGrid(const std::string& path);
// Forgets everything (tests, memory pressure).
void clearGridCache();

// The grid a Surfer 7 binary file written from g reads back as: the x and y limits
// recomputed from the stored lower limits and spacings, every blank as kBlank.
trelvik::Grid asReadBackFromSurfer7(const trelvik::Grid& g);

} // namespace surfer::detail
