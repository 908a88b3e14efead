#pragma once
// PiczaFile (".pix"): a scanner's text file of whole-number points in file units of
// 0.025 mm, one item a line, lines ended CR LF.
//
// Layout: "VERSION=5", "X", x step, "Y", y step, "Z", a z value, "D", "0", "B", "0",
// "W", the window record "x1,y1,x2,y2", "T", "7030", "10:10:00", two render colours,
// "CustomColors" and sixteen "FFFFFF", "EyeRot=...", "Rot=...", "L", "210"; then per
// scan line "S" on a line of its own followed by one "x,y,z" line per point; then "E",
// "FaceColor", "0,1,FFFFFF", "E".
//
// Reader: line 3 is the x step and line 5 the y step (both must be positive numbers);
// the first line after the line "W" holds x1, y1, x2, y2; the points start after the
// first line "S" that follows it and end at a line "E" (or the end of the file). A
// point line holds three numbers separated by commas or blanks; one whose first
// character is "A" has its first two characters dropped before the numbers. Empty lines
// are skipped. Errors (trelvik::Error naming the file and line): a missing file, a
// header shorter than seven lines, a step that is not a positive number, no "W" line or
// no window record, no "S" line, a point line without three numbers.
//
// Writer: the layout above with the given steps, z value, window and scan lines; every
// number in the write form (CStr), points as whole numbers rounded half to even.
#include <functional>
#include <string>
#include <vector>

namespace trelvik::formats {

struct PiczaHeader {
    double sx = 0, sy = 0;                  // steps in file units
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // window
};

struct PiczaPoint {
    double x = 0, y = 0, z = 0;
};

// The lattice size along one axis of the window: Int(span / step) + 1 when span / step
// is a whole number, else Int(span / step) + 2. A quotient beyond 1E+15 (a damaged
// window) gives 1E+15, a negative or undefined one -1.
long long piczaNodeCount(double span, double step);

// Streams the file: onHeader once, then onScanLine(index from 0) at every "S" and
// onPoint for each point of the current scan line.
void scanPicza(const std::string& path, const std::function<void(const PiczaHeader&)>& onHeader,
               const std::function<void(std::size_t)>& onScanLine,
               const std::function<void(const PiczaPoint&)>& onPoint);

struct PiczaScan {
    PiczaHeader header;
    std::vector<std::vector<PiczaPoint>> lines;
};
PiczaScan readPicza(const std::string& path);

// Writes a Picza file from rows of whole-number points; rows are produced on demand
// by `row` (called with 0..rowCount-1, filling the vector it is given), so the file is
// streamed. steps and window are written in the write form.
void writePicza(const std::string& path, const PiczaHeader& header, double zValue, std::size_t rowCount,
                const std::function<void(std::size_t, std::vector<PiczaPoint>&)>& row);

} // namespace trelvik::formats
