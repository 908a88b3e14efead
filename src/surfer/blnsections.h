#pragma once
// Blanking-line (BLN) sections as GridBlank and GridSlice take them: vertex coordinates
// in two arrays, read through the shared BLN reader (formats/blnfile.h), which accepts
// the comma layout, the print-zone layout and literal headers such as "5,0" or "2, 0",
// and throws trelvik::Error naming the file and line for a damaged file.
#include <string>
#include <vector>

namespace surfer {

struct BlnSection {
    int flag = 0;  // 0: blank outside, 1: blank inside
    std::vector<double> x, y;
};

std::vector<BlnSection> readBlnSections(const std::string& path);

} // namespace surfer
