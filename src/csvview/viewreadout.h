#pragma once
// Mouse read-outs of the current, working and processed views: the cell under the
// pointer and the texts of its six labels.
//
// Input: pointer position X, Y in pixels of the view box, the painted picture's size
// and the grid's size. Column i = Int((X + 1) / (width / cols)) + 1 and picture row
// r = Int((Y + 1) / (height / rows)) + 1, each limited to 1..size (the margin beyond
// the picture reads the last column or row); grid row j = rows - r + 1.
// Texts: column, row, the level drawn (rounded to a whole number) or "-" for an empty
// cell, x and y rounded to 3 decimals, the height rounded to 3 decimals or "-".
#include "csvview/latticegrid.h"
#include "csvview/renderimage.h"

#include <string>

namespace trelvik::csvview {

struct CellUnderPointer {
    int column = 1;      // i
    int pictureRow = 1;  // r, from the top
    int gridRow = 1;     // j
};

CellUnderPointer cellUnderPointer(double X, double Y, PictureSize picture, int cols, int rows);

struct ReadoutTexts {
    std::string column, row, level, x, y, z;
};

ReadoutTexts readoutTexts(const LatticeGrid& grid, const CellUnderPointer& cell, double level);

} // namespace trelvik::csvview
