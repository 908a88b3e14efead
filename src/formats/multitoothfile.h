#pragma once
// MultiToothFile: many teeth in one text file. For each tooth, in order:
//   header line 1   two numbers; the second is parameter 11
//   header line 2   ten numbers, parameters 1..10
//   k point lines   "x,y,z" on one regular lattice (commas or blanks between numbers)
//   a marker line   any line containing "666"
// The last tooth's marker may be missing (the end of the file then stands one line
// after the last line). With markers at lines m(1), m(2), ... and m(0) = 0, tooth t
// has k = m(t) - m(t-1) - 3 point lines; a tooth with three or fewer is passed over
// (parameters read, no points). Trailing empty lines at the end of the file are
// ignored.
// Every reading fault names the file and the line: an empty file, markers closer
// than a tooth's two header lines need, a header or point line without exactly its
// count of numbers.
#include "core/points.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::formats {

inline constexpr int kToothParams = 11;

struct ToothRecord {
    std::array<double, kToothParams> params{};  // parameters 1..11 at indexes 0..10
    long firstLine = 0;                         // line number of header line 1
    long pointLines = 0;                        // k
    bool passedOver = false;                    // k <= 3: no points read
    PointList points;
};

class MultiToothFile {
public:
    // Reads the whole file and finds its markers. Throws trelvik::Error naming the
    // file (and the line) when it is missing, empty or its markers leave no room
    // for a tooth's header lines.
    explicit MultiToothFile(std::string path);

    long toothCount() const { return static_cast<long>(markers_.size()); }
    long lineCount() const { return static_cast<long>(lineStart_.size()); }
    // m(t), t = 1..toothCount
    long marker(long t) const { return markers_[static_cast<std::size_t>(t - 1)]; }
    const std::string& path() const { return path_; }

    // Tooth t (1..toothCount). Throws trelvik::Error naming the file and the line of
    // a malformed header or point line.
    ToothRecord tooth(long t) const;
    // The same into `rec`, reusing its point storage.
    void readTooth(long t, ToothRecord& rec) const;

    // Copies the file, lines unchanged with CR LF ends, into parts of maxTeeth teeth
    // named stem + "-" + p + ".csv" (p = 1, 2, ...): the marker ending each part's
    // last tooth is left out, the last part takes the rest. Returns the part paths.
    // Each part is written whole or not at all; throws trelvik::Error naming it.
    std::vector<std::string> split(long maxTeeth, const std::string& stem) const;

private:
    std::string_view line(long number) const;  // 1-based, without its line end
    void parseNumbers(long lineNo, std::size_t expected, double* out, const char* what) const;

    std::string path_;
    std::string content_;
    std::vector<std::size_t> lineStart_;  // offset of each line; lineEnd_ its end (line end excluded)
    std::vector<std::size_t> lineEnd_;
    std::vector<long> markers_;
};

} // namespace trelvik::formats
