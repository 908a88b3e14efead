#pragma once
// DigitiseFile: the points a user digitises on a map and saves ("digit.dat" and the
// like). One point a line, x then y, separated by a comma or blanks, no header.
// A line holding exactly "-1" ends one group of points (an area, a border) and starts
// the next.
//
// Reading goes line by line: empty lines are passed over, a line's first two numbers
// are its point and anything after them is ignored (so a stray third value cannot
// shift the points after it). A missing file, a file without points, or a line
// without two numbers throws trelvik::Error naming the file (and the line).
#include "formats/pointxy.h"

#include <string>
#include <vector>

namespace trelvik::formats {

// The groups in file order; a file without "-1" lines gives one group. A "-1" line
// at the start, two in a row or one at the end give an empty group there, so group
// numbers always follow the separators ("-1" count + 1 groups).
std::vector<PointXYList> readDigitiseGroups(const std::string& path);

// Every point of the file in order, the "-1" separators passed over.
PointXYList readDigitisePoints(const std::string& path);

// Writes the groups as "x,y" lines (numbers in the general form) with a "-1" line
// between groups, CR LF, and returns the text written; replaces an existing file only
// once the new one is complete.
std::string writeDigitiseFile(const std::string& path, const std::vector<PointXYList>& groups);

} // namespace trelvik::formats
