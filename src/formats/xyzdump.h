#pragma once
// XYZ text of a grid as the mapping program writes it: one node per line "x y z",
// x fastest, rows by ascending y, blank nodes included with z = 1.70141E+38,
// numbers in the general form with 15 significant digits, lines ended CR LF.
#include "core/error.h"
#include "core/grid.h"
#include "core/points.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace trelvik::formats {

void writeXyzDump(const std::string& path, const Grid& grid);

// One node line of a dump. The texts are the numbers exactly as the file holds them
// (a leading '+' included), so a caller can pass them on without formatting them again;
// they, like the record, are valid only during the call that receives the record.
struct XyzRecord {
    double x = 0, y = 0, z = 0;
    std::string_view xText, yText, zText;
    std::size_t line = 0;  // 1-based line number in the file
};

// A line that holds neither three numbers first nor only separators. The message names
// the file, the line and its start; line() lets a caller word the failure its own way.
class XyzLineError : public Error {
public:
    XyzLineError(const std::string& message, std::size_t line) : Error(message), line_(line) {}
    std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

// Streams the file in large blocks and hands every record to onRecord, in file order and
// on the calling thread (the lines of a block are parsed on several threads first).
// A record is three numbers separated (and optionally preceded) by blanks, tabs or
// commas; what follows the third is ignored. Lines end with LF or CR LF; a line of
// separators only is skipped. A number beyond the range of a double reads as 0 when
// tiny and as the blank height (or its negative) when huge. Throws XyzLineError for a
// malformed line, trelvik::Error when the file cannot be read; either names the file.
void scanXyzDump(const std::string& path, const std::function<void(const XyzRecord&)>& onRecord);

// Every record as a point, in file order.
PointList readXyzDump(const std::string& path);

} // namespace trelvik::formats
