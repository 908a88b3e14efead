#include "csvview/rendergrey.h"

namespace trelvik::csvview {

bool squareCells(double xstep, double ystep) {
    if (ystep == 0) return false;
    const double r = xstep / ystep;
    return r > 0.999 && r < 1.001;
}

namespace {

void sizeTables(DrawnTables& t, int cols, int rows) {
    const std::size_t n = static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows);
    t.cols = cols;
    t.rows = rows;
    t.height.assign(n, 0.0);
    t.share.assign(n, 0.0);
    t.grey.assign(n, 0.0);
}

// Fills tables and buffer; `green` < threshold test applies only when `useThreshold`.
void drawCells(const LatticeGrid& grid, double zmin, double zmax, bool useThreshold, double threshold,
               GreyPicture& pic) {
    const int cols = grid.cols, rows = grid.rows;
    const double range = zmax - zmin;
    const bool hasRange = range != 0;
    const double scale = hasRange ? 1.0 / range : 0.0;
    constexpr std::uint32_t green = rgb(0, 255, 0);
    for (int j = 1; j <= rows; ++j) {
        const int r = rows - j + 1;  // grid row shown on picture row j
        const GridCell* row = &grid.cells[grid.index(1, r)];
        double* h = &pic.tables.height[static_cast<std::size_t>(j - 1) * cols];
        double* s = &pic.tables.share[static_cast<std::size_t>(j - 1) * cols];
        double* g = &pic.tables.grey[static_cast<std::size_t>(j - 1) * cols];
        std::uint32_t* px = &pic.buffer.pixels[static_cast<std::size_t>(j - 1) * pic.buffer.width];
        for (int i = 0; i < cols; ++i) {
            const double z = row[i].z;
            if (isVoid(z)) {
                h[i] = zmin;
                s[i] = 0;
            } else {
                h[i] = z;
                s[i] = hasRange ? (z - zmin) * scale : 0.0;
            }
            g[i] = 255.0 * s[i];
            px[i] = (useThreshold && h[i] <= threshold) ? green : greyPixel(g[i]);
        }
    }
}

} // namespace

GreyPicture drawCurrentGrid(const CurrentGrid& grid, const CurrentViewOptions& opts) {
    GreyPicture pic;
    const int cols = grid.cols > 0 ? grid.cols : 0, rows = grid.rows > 0 ? grid.rows : 0;
    pic.buffer.reset(cols + kPictureMargin, rows + kPictureMargin, kClearColour);
    sizeTables(pic.tables, cols, rows);
    if (cols == 0 || rows == 0 || !squareCells(grid.xstep, grid.ystep)) return pic;
    drawCells(grid, grid.zmin, grid.zmax, opts.threshold, opts.thresholdValue, pic);
    pic.cellsDrawn = true;
    return pic;
}

GreyPicture drawGreyGrid(const LatticeGrid& grid, double zmin, double zmax) {
    GreyPicture pic;
    const int cols = grid.cols > 0 ? grid.cols : 0, rows = grid.rows > 0 ? grid.rows : 0;
    pic.buffer.reset(cols + kPictureMargin, rows + kPictureMargin, kClearColour);
    sizeTables(pic.tables, cols, rows);
    if (cols == 0 || rows == 0) return pic;
    drawCells(grid, zmin, zmax, false, 0, pic);
    pic.cellsDrawn = true;
    return pic;
}

} // namespace trelvik::csvview
