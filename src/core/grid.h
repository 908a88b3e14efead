#pragma once
// The shared grid model: heights on a regular x, y lattice, as Surfer grids hold them.
// Column 0 is the least x and row 0 the least y; node (col, row) lies at
// x = xMin + col * xSpacing(), y = yMin + row * ySpacing(). Blank nodes hold
// kBlank (1.70141E+38); anything of 1E+37 or more is taken as blank by the
// grid routines.
#include <cstddef>
#include <vector>

namespace trelvik {

inline constexpr double kBlank = 1.70141e38;
inline constexpr double kBlankThreshold = 1e37;
inline bool isBlank(double z) { return !(z < kBlankThreshold); }  // NaN counts as blank too

struct Grid {
    int cols = 0;  // nodes along x
    int rows = 0;  // nodes along y
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    std::vector<double> z;  // rows * cols, row-major, row 0 first

    Grid() = default;
    Grid(int c, int r, double x0, double x1, double y0, double y1, double fill = kBlank)
        : cols(c), rows(r), xMin(x0), xMax(x1), yMin(y0), yMax(y1),
          z(static_cast<std::size_t>(c) * static_cast<std::size_t>(r), fill) {}

    double xSpacing() const { return cols > 1 ? (xMax - xMin) / (cols - 1) : 0.0; }
    double ySpacing() const { return rows > 1 ? (yMax - yMin) / (rows - 1) : 0.0; }
    double x(int col) const { return xMin + col * xSpacing(); }
    double y(int row) const { return yMin + row * ySpacing(); }
    double& at(int col, int row) { return z[static_cast<std::size_t>(row) * cols + col]; }
    double at(int col, int row) const { return z[static_cast<std::size_t>(row) * cols + col]; }
    bool blank(int col, int row) const { return isBlank(at(col, row)); }

    // Whether some node holds a height (every node blank: false).
    bool hasHeight() const;
    // Least and greatest non-blank height; both kBlank when every node is blank.
    double zMin() const;
    double zMax() const;
};

} // namespace trelvik
