#include "csvview/viewreadout.h"

#include "core/textform.h"

#include <cmath>

namespace trelvik::csvview {

namespace {

int along(double pos, int pictureLength, int cells) {
    if (cells <= 0 || pictureLength <= 0) return 1;
    const double perCell = static_cast<double>(pictureLength) / cells;
    double k = std::floor((pos + 1) / perCell) + 1;
    if (k > cells) k = cells;
    if (k < 1) k = 1;
    return static_cast<int>(k);
}

} // namespace

CellUnderPointer cellUnderPointer(double X, double Y, PictureSize picture, int cols, int rows) {
    CellUnderPointer c;
    c.column = along(X, picture.width, cols);
    c.pictureRow = along(Y, picture.height, rows);
    c.gridRow = rows - c.pictureRow + 1;
    return c;
}

ReadoutTexts readoutTexts(const LatticeGrid& grid, const CellUnderPointer& cell, double level) {
    ReadoutTexts t;
    t.column = std::to_string(cell.column);
    t.row = std::to_string(cell.gridRow);
    if (!grid.inside(cell.column, cell.gridRow)) return t;
    const GridCell& c = grid.at(cell.column, cell.gridRow);
    const bool empty = isVoid(c.z);
    t.level = empty ? "-" : text::CStr(text::Round(level));
    t.x = text::CStr(text::Round(c.x, 3));
    t.y = text::CStr(text::Round(c.y, 3));
    t.z = empty ? "-" : text::CStr(text::Round(c.z, 3));
    return t;
}

} // namespace trelvik::csvview
