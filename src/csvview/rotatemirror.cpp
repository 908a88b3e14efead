#include "csvview/rotatemirror.h"

#include <algorithm>
#include <utility>

namespace trelvik::csvview {

namespace {

bool hasGrid(const CurrentGrid& g) {
    const std::size_t n = static_cast<std::size_t>(std::max(g.cols, 0)) * static_cast<std::size_t>(std::max(g.rows, 0));
    return n > 0 && g.cells.size() >= n && g.filled.size() >= n;
}

// Heights and filled flags of cell (c, r) taken from cell from(c, r) of a copy.
template <class From>
void moveHeights(CurrentGrid& g, From from) {
    const LatticeGrid old = g;
    for (int r = 1; r <= g.rows; ++r)
        for (int c = 1; c <= g.cols; ++c) {
            const auto [sc, sr] = from(c, r);
            g.at(c, r).z = old.z(sc, sr);
            g.filled[g.index(c, r)] = old.filled[old.index(sc, sr)];
        }
}

// Quarter turn: new size rows x cols, cell (p, q) takes height and flag of old cell
// source(p, q); nodes laid anew from cell (1, 1) with the steps exchanged.
template <class Source>
void quarterTurn(CurrentGrid& g, Source source) {
    const LatticeGrid old = g;
    const double x1 = old.at(1, 1).x, y1 = old.at(1, 1).y;
    std::swap(g.xstep, g.ystep);
    std::swap(g.nx, g.ny);
    g.resize(old.rows, old.cols);
    g.zmin = old.zmin;
    g.zmax = old.zmax;
    for (int q = 1; q <= g.rows; ++q)
        for (int p = 1; p <= g.cols; ++p) {
            const auto [sc, sr] = source(p, q);
            GridCell& cell = g.at(p, q);
            cell.x = x1 + (p - 1) * g.xstep;
            cell.y = y1 + (q - 1) * g.ystep;
            cell.z = old.z(sc, sr);
            g.filled[g.index(p, q)] = old.filled[old.index(sc, sr)];
        }
    // Limits and extents of the new lattice: the first and last nodes, and the nodes
    // that hold points.
    g.xlo = x1;
    g.ylo = y1;
    g.xhi = x1 + (g.cols - 1) * g.xstep;
    g.yhi = y1 + (g.rows - 1) * g.ystep;
    bool any = false;
    for (int q = 1; q <= g.rows; ++q)
        for (int p = 1; p <= g.cols; ++p) {
            if (!g.isFilled(p, q)) continue;
            const GridCell& c = g.at(p, q);
            if (!any) {
                g.xmin = g.xmax = c.x;
                g.ymin = g.ymax = c.y;
                any = true;
            }
            g.xmin = std::min(g.xmin, c.x);
            g.xmax = std::max(g.xmax, c.x);
            g.ymin = std::min(g.ymin, c.y);
            g.ymax = std::max(g.ymax, c.y);
        }
    if (!any) {
        g.xmin = g.xlo;
        g.xmax = g.xhi;
        g.ymin = g.ylo;
        g.ymax = g.yhi;
    }
}

} // namespace

bool MirrorVert(CurrentGrid& grid) {
    if (!hasGrid(grid)) return false;
    const int rows = grid.rows;
    moveHeights(grid, [rows](int c, int r) { return std::pair{c, rows - r + 1}; });
    return true;
}

bool MirrorHoriz(CurrentGrid& grid) {
    if (!hasGrid(grid)) return false;
    const int cols = grid.cols;
    moveHeights(grid, [cols](int c, int r) { return std::pair{cols - c + 1, r}; });
    return true;
}

bool RotateCW(CurrentGrid& grid) {
    if (!hasGrid(grid)) return false;
    const int cols = grid.cols;
    quarterTurn(grid, [cols](int p, int q) { return std::pair{cols - q + 1, p}; });
    return true;
}

bool RotateACW(CurrentGrid& grid) {
    if (!hasGrid(grid)) return false;
    const int rows = grid.rows;
    quarterTurn(grid, [rows](int p, int q) { return std::pair{q, rows - p + 1}; });
    return true;
}

bool Rotate180(CurrentGrid& grid) {
    if (!hasGrid(grid)) return false;
    // Two quarter turns, done at once so the nodes keep their exact coordinates.
    const int cols = grid.cols, rows = grid.rows;
    moveHeights(grid, [cols, rows](int c, int r) { return std::pair{cols - c + 1, rows - r + 1}; });
    return true;
}

} // namespace trelvik::csvview
