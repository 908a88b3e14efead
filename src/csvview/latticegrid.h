#pragma once
// The in-memory grid of the CSV viewer: one tooth surface on a regular x, y lattice.
//
// Cells are addressed 1-based, (column 1..cols, row 1..rows): column 1 is the least
// x, row 1 the least y, as the viewer's users and files count them. Each cell holds
// the node's x and y and a height z; an empty cell holds its node position and
// z = kVoidHeight (9999). Analyses test for exactly 9999; they never look at 0.
//
// `filled` records, per cell, whether a point of the file was placed there. A real
// point at x = 0, y = 0, z = 0 is therefore a filled cell, not an empty one.
//
// LatticeGrid is the shape shared by the current, working, processed and result
// grids of the window. CurrentGrid adds what a read of a point file knows: lattice
// steps, extents, size mode and the names of the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::csvview {

// Height of an empty cell.
inline constexpr double kVoidHeight = 9999.0;
inline bool isVoid(double z) { return z == kVoidHeight; }

struct GridCell {
    double x = 0, y = 0, z = 0;
};

struct LatticeGrid {
    int cols = 0;  // present number of columns (x direction)
    int rows = 0;  // present number of rows (y direction)
    std::vector<GridCell> cells;       // rows * cols, row 1 first, column fastest
    std::vector<std::uint8_t> filled;  // 1 where a point was placed; same indexing
    double zmin = 0, zmax = 0;         // height range used by the grey views

    LatticeGrid() = default;
    // cols x rows cells, all fields 0, nothing filled.
    LatticeGrid(int c, int r) { resize(c, r); }

    void resize(int c, int r) {
        cols = c;
        rows = r;
        const std::size_t n = static_cast<std::size_t>(c > 0 ? c : 0) * static_cast<std::size_t>(r > 0 ? r : 0);
        cells.assign(n, GridCell{});
        filled.assign(n, 0);
    }
    bool empty() const { return cols <= 0 || rows <= 0; }
    std::size_t index(int c, int r) const {
        return static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c - 1);
    }
    GridCell& at(int c, int r) { return cells[index(c, r)]; }
    const GridCell& at(int c, int r) const { return cells[index(c, r)]; }
    double& z(int c, int r) { return cells[index(c, r)].z; }
    double z(int c, int r) const { return cells[index(c, r)].z; }
    bool isVoidCell(int c, int r) const { return isVoid(z(c, r)); }
    bool isFilled(int c, int r) const { return filled[index(c, r)] != 0; }
    bool inside(int c, int r) const { return c >= 1 && c <= cols && r >= 1 && r <= rows; }

    // Same size with x and y of every cell copied from `src`, z set to `zfill`.
    static LatticeGrid sameNodes(const LatticeGrid& src, double zfill) {
        LatticeGrid g(src.cols, src.rows);
        for (std::size_t i = 0; i < g.cells.size(); ++i) g.cells[i] = GridCell{src.cells[i].x, src.cells[i].y, zfill};
        return g;
    }
};

// How the read sizes the grid.
//   Default  - the lattice 1..24 x 1..24 with step positions as given.
//   Minimum  - the points' extent plus one empty margin cell on every side.
//   Other    - keeps the size mode of the previous read (none before the first).
// "Minimum + 1" reads as Minimum.
enum class SizeMode { None = 0, Default = 1, Minimum = 2 };
enum class SizeOption { Default, Minimum, MinimumPlus1, Other };

struct CurrentGrid : LatticeGrid {
    int nx = 0, ny = 0;  // size as built; cols/rows are the present (view) size
    double xstep = 10000, ystep = 10000;
    // Extents of the points read (the height range is LatticeGrid::zmin/zmax);
    // empty cells and blank heights never set them.
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    double zminBeforeRezero = 0;  // zmin before "Original model file" re-zeroing
    double xlo = 0, ylo = 0, xhi = 0, yhi = 0;
    SizeMode sizeMode = SizeMode::None;
    std::string folder;    // input folder with its trailing separator
    std::string baseName;  // input file name less its last four characters
    std::string path;      // folder + file name
    std::string stem;      // folder + baseName
};

} // namespace trelvik::csvview
