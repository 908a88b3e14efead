#include "conversion/piczaconvert.h"

#include "conversion/writercalls.h"
#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/chunkwriter.h"
#include "formats/dumplattice.h"
#include "formats/numberforms.h"
#include "formats/picza.h"

#include <algorithm>
#include <cmath>

namespace trelvik::conversion {

namespace {

using formats::PiczaPoint;
using formats::piczaNodeCount;

inline void writePoint(formats::ChunkWriter& w, double x, double y, double z) {
    char* p = w.room(3 * (formats::kGeneralNumberMax + 1) + 2);
    p = formats::writeGeneralNumber(p, x);
    *p++ = ',';
    p = formats::writeGeneralNumber(p, y);
    *p++ = ',';
    p = formats::writeGeneralNumber(p, z);
    *p++ = '\r';
    *p++ = '\n';
    w.done(p);
}

bool whole(double q) { return q == std::floor(q); }

// Int(q) of a quotient from a file, held within what a count can carry so that a
// damaged window reaches checkedCount's message instead of an overflow.
long long wholeNodes(double q) {
    if (!(q > -1e15 && q < 1e15)) return q < 0 ? -1 : 1000000000000000LL;
    return static_cast<long long>(std::floor(q));
}

long checkedCount(long long n, const std::string& pix, const char* axis) {
    if (n < 2 || n > 100000000)
        throw Error("The Picza file " + pix + ": its window gives " + std::to_string(n) + " nodes along " + axis +
                    "; a lattice needs from 2 nodes.");
    return static_cast<long>(n);
}

// A window whose steps would make an absurd lattice (a damaged header) is refused
// before anything is written.
void checkedTotal(long nx, long ny, const std::string& pix) {
    if (static_cast<double>(nx) * static_cast<double>(ny) > 2e8)
        throw Error("The Picza file " + pix + ": its window and steps give " + std::to_string(nx) + " x " +
                    std::to_string(ny) + " nodes, more than a scan can hold.");
}

// The full lattice of the window. Scan points sit at lattice places; a place without a
// point takes the last height taken on the way (0 at the start of the file). Points
// beyond the end of a scan line are absent, never read as a point at the origin.
void writeFullLattice(formats::ChunkWriter& w, const formats::PiczaScan& scan, double s) {
    const auto& hd = scan.header;
    const long long ncols = piczaNodeCount(hd.x2 - hd.x1, hd.sx);
    const long long nrows = piczaNodeCount(hd.y2 - hd.y1, hd.sy);
    static const std::vector<PiczaPoint> none;
    double h = 0;
    for (long long r = 1; r <= nrows; ++r) {
        const auto& line = r <= static_cast<long long>(scan.lines.size()) ? scan.lines[r - 1] : none;
        const long long count = static_cast<long long>(line.size());
        auto pt = [&](long long k) -> const PiczaPoint& { return line[static_cast<std::size_t>(k - 1)]; };
        const double Y = hd.y1 + (r - 1) * hd.sy;
        long long k = 1;
        for (long long c = 1; c <= ncols; ++c) {
            const double X = hd.x1 + (c - 1) * hd.sx;
            if (r < nrows) {
                for (;;) {
                    if (k + 1 <= count && pt(k + 1).x <= X) ++k;
                    if (k < count && !whole((pt(k).x - hd.x1) / hd.sx)) {
                        ++k;  // a point off the lattice: look at the next one for this column
                        continue;
                    }
                    break;
                }
                if (k <= count && pt(k).x == X && pt(k).y == Y) {
                    h = pt(k).z;
                    writePoint(w, pt(k).x * s, Y * s, h * s);
                } else {
                    writePoint(w, X * s, Y * s, h * s);
                }
            } else {
                // The last row pairs columns with points by position; column 1 takes the
                // line's first point wherever it lies.
                if (k <= count && (c == 1 || (pt(k).x == X && pt(k).y == Y))) {
                    h = pt(k).z;
                    writePoint(w, pt(k).x * s, Y * s, h * s);
                } else {
                    writePoint(w, X * s, Y * s, h * s);
                }
                ++k;
            }
        }
    }
}

} // namespace

double PiczaReadFactor(bool optOutum) { return optOutum ? 1000 : 1; }

double PiczaWriteFactor(bool optOutum, bool optOutmm, double dx) {
    if (optOutmm) return 40;
    if (optOutum) return 0.04;
    return dx <= 1 ? 40 : 0.04;
}

PiczaLattice PiczaToPointFile(const std::string& pix, const std::string& points, bool optOutum) {
    RefuseOverwritingInput(pix, points);
    const double s = 0.025 * PiczaReadFactor(optOutum);
    formats::PiczaHeader hd;
    formats::ChunkWriter w(points);
    formats::scanPicza(
        pix, [&](const formats::PiczaHeader& h) { hd = h; },
        [&](std::size_t line) {
            if (line > 0) w.line("");
        },
        [&](const PiczaPoint& p) { writePoint(w, (p.x - hd.x1) * s, (p.y - hd.y1) * s, p.z * s); });
    PiczaLattice l;
    l.NumCols = checkedCount(wholeNodes((hd.x2 - hd.x1) / hd.sx + 1) + 1, pix, "x");
    l.NumRows = checkedCount(wholeNodes((hd.y2 - hd.y1) / hd.sy + 1) + 1, pix, "y");
    checkedTotal(l.NumCols, l.NumRows, pix);
    l.XMax = (l.NumCols - 1) * (hd.sx * s);
    l.YMax = (l.NumRows - 1) * (hd.sy * s);
    w.commit();
    return l;
}

void PiczaToGrid(surfer::Application& app, const std::string& version, const std::string& pix,
                 const std::string& points, const std::string& grid, bool optOutum) {
    RefuseOverwritingInput(pix, grid);
    RefuseOverwritingInput(pix, points);
    // The points and the grid made from them go in place together, or neither does.
    StagedFiles staged;
    const std::string& workPoints = staged.work(points);
    const std::string& workGrid = staged.work(grid);
    staged.naming([&] {
        const PiczaLattice l = PiczaToPointFile(pix, workPoints, optOutum);
        GridDataWindow(app, version, workPoints, l.NumCols, l.NumRows, l.XMax, l.YMax, workGrid);
    });
    staged.commit();
}

void PiczaToCsv(const std::string& pix, const std::string& csv, bool optOutum, bool fullCsv) {
    RefuseOverwritingInput(pix, csv);
    const formats::PiczaScan scan = formats::readPicza(pix);
    const double s = 0.025 * PiczaReadFactor(optOutum);
    formats::ChunkWriter w(csv);
    if (fullCsv) {
        const auto& hd = scan.header;
        const long nx = checkedCount(piczaNodeCount(hd.x2 - hd.x1, hd.sx), pix, "x");
        const long ny = checkedCount(piczaNodeCount(hd.y2 - hd.y1, hd.sy), pix, "y");
        checkedTotal(nx, ny, pix);
        writeFullLattice(w, scan, s);
    } else {
        for (const auto& line : scan.lines)
            for (const PiczaPoint& p : line) writePoint(w, p.x * s, p.y * s, p.z * s);
    }
    w.commit();
}

void GridToPicza(surfer::Application& app, const std::string& version, const std::string& grid,
                 const std::string& pix, bool optOutum, bool optOutmm) {
    RequireInputFile(grid, "grid");
    RefuseOverwritingInput(grid, pix);
    const PrivateTempFile dump(".dat");
    MirrorGridToXyz(app, version, grid, dump.path());
    const formats::DumpLattice g = formats::readDumpLattice(dump.path());
    const double dx = std::abs(g.x[0] - text::Round(g.x[1], 4));
    const double dy = std::abs(g.y[0] - g.y[1]);
    const double F = PiczaWriteFactor(optOutum, optOutmm, dx);
    formats::PiczaHeader hd;
    hd.sx = dx * F;
    hd.sy = dy * F;
    hd.x2 = std::floor(*std::max_element(g.x.begin(), g.x.end()) * F);
    hd.y2 = std::floor(*std::max_element(g.y.begin(), g.y.end()) * F);
    formats::writePicza(pix, hd, 0, static_cast<std::size_t>(g.nrows),
                        [&](std::size_t r, std::vector<PiczaPoint>& row) {
                            const int rr = static_cast<int>(r);
                            for (int c = 0; c < g.ncols; ++c) {
                                const double z = g.at(c, rr);
                                row.push_back({g.x[c] * F, g.y[rr] * F, isBlank(z) ? 0.0 : z * F});
                            }
                        });
}

} // namespace trelvik::conversion
