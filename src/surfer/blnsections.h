#pragma once
// Reads a blanking-line (BLN) file as the stand-in's GridBlank and GridSlice take it:
// sections of a header line (vertex count, flag) followed by that many vertex lines
// (x, y). Fields are separated by commas, blanks or tabs, so the comma layout, the
// print-zone layout and literal headers such as "5,0" or "2, 0" all read alike. Empty
// lines are passed over; values after the second on a line are ignored.
// Throws trelvik::Error naming the file and line for a missing file, a header without a
// whole positive count and a flag, a vertex line without two numbers, or a file that
// ends before a section's last vertex or holds no section.
#include <string>
#include <vector>

namespace surfer {

struct BlnSection {
    int flag = 0;  // 0: blank outside, 1: blank inside
    std::vector<double> x, y;
};

std::vector<BlnSection> readBlnSections(const std::string& path);

} // namespace surfer
