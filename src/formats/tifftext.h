#pragma once
// TiffGreyMatrix: the text export of a scanned height image, one image row a line, the
// grey values of the row (0 to 255) separated by tab characters.
//
// Reader: ncols = the number of tab-separated fields of line 1, nrows = the number of
// lines (empty lines at the end of the file are not rows). Every row must hold ncols
// numbers (separated by tabs, commas or blanks). Errors (trelvik::Error naming the
// file, and the line for a bad row): a missing or empty file, a row with fewer or more
// values than line 1, a value that is not a number.
#include <string>
#include <vector>

namespace trelvik::formats {

struct GreyMatrix {
    int ncols = 0, nrows = 0;
    std::vector<double> values;  // nrows * ncols, image line by image line, line 1 first
    double at(int col, int line) const { return values[static_cast<std::size_t>(line) * ncols + col]; }
};

GreyMatrix readTiffGreyMatrix(const std::string& path);

} // namespace trelvik::formats
