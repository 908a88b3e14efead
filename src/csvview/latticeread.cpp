#include "csvview/latticeread.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/latticecsv.h"

#include <cmath>
#include <filesystem>

namespace trelvik::csvview {

namespace {

constexpr long kMaxCells = 50'000'000;  // far beyond any tooth grid; guards memory

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool isPattern(const std::string& name) {
    return name.find('*') != std::string::npos || name.find('?') != std::string::npos;
}

} // namespace

std::string FindRootDir(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1])) return path.substr(0, i);
    return {};
}

std::string FindBaseFilename(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1])) {
            start = i;
            break;
        }
    const std::string name = path.substr(start);
    return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

void CalcGridExtent(PointList& points, bool originalModel, CurrentGrid& grid) {
    const formats::LatticeExtent e = formats::calcLatticeExtent(points, originalModel, grid.path);
    grid.xmin = e.xmin;
    grid.ymin = e.ymin;
    grid.xmax = e.xmax;
    grid.ymax = e.ymax;
    grid.zmin = e.zmin;
    grid.zmax = e.zmax;
    if (originalModel) grid.zminBeforeRezero = e.zminBeforeRezero;
}

ReadCsvOutcome FillGridFromPointsX(const PointList& points, SizeOption size, CurrentGrid& grid, Prompt& prompt) {
    ReadCsvOutcome out;
    SizeMode mode = grid.sizeMode;
    if (size == SizeOption::Default) mode = SizeMode::Default;
    else if (size == SizeOption::Minimum || size == SizeOption::MinimumPlus1) mode = SizeMode::Minimum;
    if (mode == SizeMode::None) {
        // "Other" on a window that has not read a grid yet: there is no size to keep.
        prompt.message("Grid size", "Choose a grid size");
        return out;
    }

    const formats::LatticeSteps steps = formats::findLatticeSteps(points);
    if (!steps.xFound() || !steps.yFound()) {
        const char* axis = !steps.xFound() && !steps.yFound() ? "x or y" : (!steps.xFound() ? "x" : "y");
        prompt.message("Error", grid.path + ": no two points differ in " + std::string(axis) +
                                    ", so no lattice step was found; the read goes on with the step 10000.");
    }
    grid.xstep = steps.xstep;
    grid.ystep = steps.ystep;
    grid.sizeMode = mode;

    if (mode == SizeMode::Default) {
        grid.xlo = 1;
        grid.xhi = 24;
        grid.ylo = 1;
        grid.yhi = 24;
    } else {
        grid.xlo = grid.xmin - grid.xstep;
        grid.xhi = grid.xmax + grid.xstep;
        grid.ylo = grid.ymin - grid.ystep;
        grid.yhi = grid.ymax + grid.ystep;
    }
    const double nxd = text::Round(1 + (grid.xhi - grid.xlo) / grid.xstep);
    const double nyd = text::Round(1 + (grid.yhi - grid.ylo) / grid.ystep);
    if (!(nxd >= 1 && nxd <= 32767) || !(nyd >= 1 && nyd <= 32767) || nxd * nyd > kMaxCells)
        throw Error(grid.path + ": the lattice would need a grid of " + text::CStr(nxd) + " x " + text::CStr(nyd) +
                    " cells, more than the viewer holds");
    const int nx = static_cast<int>(nxd);
    const int ny = static_cast<int>(nyd);
    // Every node empty first, then the points placed: no cell is zeroed before it is
    // written, as a lattice may hold tens of millions of cells.
    grid.cols = nx;
    grid.rows = ny;
    grid.cells.clear();
    grid.cells.reserve(static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny));
    for (int r = 1; r <= ny; ++r)
        for (int c = 1; c <= nx; ++c)
            grid.cells.push_back(GridCell{(c - 1) * grid.xstep + grid.xlo, (r - 1) * grid.ystep + grid.ylo, kVoidHeight});
    grid.filled.assign(grid.cells.size(), 0);
    grid.nx = nx;
    grid.ny = ny;

    for (const PointXYZ& p : points) {
        if (p.z == kVoidHeight) continue;  // an empty-cell marker is no point
        const long c = formats::latticeIndex(p.x - grid.xlo, grid.xstep);
        const long r = formats::latticeIndex(p.y - grid.ylo, grid.ystep);
        if (c < 1 || c > nx || r < 1 || r > ny) {
            ++out.pointsOutside;
            continue;
        }
        const std::size_t k = grid.index(static_cast<int>(c), static_cast<int>(r));
        grid.cells[k] = GridCell{p.x, p.y, p.z};
        grid.filled[k] = 1;
    }
    out.done = true;
    return out;
}

ReadCsvOutcome ReadCsvGrid(const ReadCsvOptions& opts, CurrentGrid& grid, PointList& gridPoints, Prompt& prompt) {
    BusyScope busy(prompt);
    ReadCsvOutcome out;
    const std::string name = text::Trim(opts.fileName);
    if (name.empty() || isPattern(name)) {
        prompt.message("Filename", "Choose csv filename");
        return out;
    }
    if (opts.size == SizeOption::Other && grid.sizeMode == SizeMode::None) {
        prompt.message("Grid size", "Choose a grid size");
        return out;
    }
    CurrentGrid g;
    g.sizeMode = grid.sizeMode;
    g.folder = opts.folder;
    if (g.folder.empty() || !isSeparator(g.folder.back()))
        g.folder += static_cast<char>(std::filesystem::path::preferred_separator);
    g.baseName = name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
    g.stem = g.folder + g.baseName;
    g.path = g.folder + name;

    PointList pts = formats::readLatticeCsv(g.path);
    if (pts.empty()) throw Error(g.path + ": the file holds no points");
    CalcGridExtent(pts, opts.originalModel, g);
    out = FillGridFromPointsX(pts, opts.size, g, prompt);
    if (!out.done) return out;
    grid = std::move(g);
    gridPoints = std::move(pts);
    return out;
}

} // namespace trelvik::csvview
