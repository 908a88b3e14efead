#include "conversion/csvlattice.h"

#include "conversion/writercalls.h"
#include "core/error.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/vrml.h"
#include "formats/xyzdump.h"

#include <cmath>
#include <limits>

namespace trelvik::conversion {

CsvLattice ReadCsvLattice(const std::string& path) {
    // First pass: the layout, the record count and the height range.
    long long n = 0, run = 0;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0, next = 0;
    bool xFastest = true, haveLow = false, haveHigh = false, runDone = false;
    double zmin = 0, zmax = 0, xmin = 0, ymin = 0;
    ScanXyzText(path, "lattice file", [&](const formats::XyzRecord& r) {
        if (n == 0) {
            x0 = r.x, y0 = r.y, xmin = r.x, ymin = r.y;
        } else if (n == 1) {
            x1 = r.x, y1 = r.y;
            if (x1 == x0 && y1 == y0)
                throw Error("The lattice file " + path + ": its first two points lie at one place, so the order of "
                            "the lattice cannot be told.");
            xFastest = x1 != x0;
        }
        if (!runDone && n > 0 && (xFastest ? r.y != y0 : r.x != x0)) {
            run = n;
            next = xFastest ? r.y : r.x;
            runDone = true;
        }
        ++n;
        if (r.x < xmin) xmin = r.x;
        if (r.y < ymin) ymin = r.y;
        const double z = r.z;
        if (z < kBlankThreshold && !(z > -1e-5 && z < 0) && (!haveLow || z < zmin)) zmin = z, haveLow = true;
        if (z < kBlankThreshold && (!haveHigh || z > zmax)) zmax = z, haveHigh = true;
    });
    if (n < 2) throw Error("The lattice file " + path + " holds fewer than two points.");
    if (!runDone)
        throw Error("The lattice file " + path + " holds a single " + (xFastest ? "row" : "column") + " of points.");
    if (n % run != 0)
        throw Refusal("", std::string("Incorrect number of lines - error in parsing ") + (xFastest ? "xlines" : "ylines"));
    if (run < 2) throw Error("The lattice file " + path + " holds a single " + (xFastest ? "column" : "row") + ".");
    if (run > std::numeric_limits<int>::max() || n / run > std::numeric_limits<int>::max())
        throw Error("The lattice file " + path + " is too large.");

    CsvLattice L;
    double xint = 0, yint = 0;
    if (xFastest) {
        L.nx = static_cast<int>(run);
        L.ny = static_cast<int>(n / run);
        xint = x1 - x0;
        yint = next - y0;
    } else {
        L.ny = static_cast<int>(run);
        L.nx = static_cast<int>(n / run);
        yint = y1 - y0;
        xint = next - x0;
    }
    L.zmin = zmin;
    L.zmax = zmax;
    L.xmin = xmin;
    L.ymin = ymin;
    L.H.assign(static_cast<std::size_t>(L.nx) * L.ny, 0.0);

    // Second pass: each record to its place, in the file's own order.
    long long k = 0;
    double lineValue = 0;  // y of the current row (x of the current column)
    ScanXyzText(path, "lattice file", [&](const formats::XyzRecord& r) {
        const long long inRun = k % run, outer = k / run;
        const double fixed = xFastest ? r.y : r.x;
        if (inRun == 0) lineValue = fixed;
        else if (fixed != lineValue)
            throw Error("The lattice file " + path + " line " + std::to_string(r.line) + ": the " +
                        (xFastest ? "y" : "x") + " changes within a " + (xFastest ? "row" : "column") +
                        " of the lattice.");
        long long i = xFastest ? inRun : outer;  // 0-based along x in file order
        long long j = xFastest ? outer : inRun;
        if (xint < 0) i = L.nx - 1 - i;
        if (yint < 0) j = L.ny - 1 - j;
        L.H[static_cast<std::size_t>(j) * L.nx + static_cast<std::size_t>(i)] = r.z > 1e38 ? zmin : r.z;
        ++k;
    });
    L.xint = std::abs(xint);
    L.yint = std::abs(yint);
    return L;
}

void CsvLatticeToVrml(const std::string& input, const std::string& out) {
    RefuseOverwritingInput(input, out);
    const CsvLattice L = ReadCsvLattice(input);
    formats::VrmlElevationGridOut f;
    f.variant = formats::VrmlVariant::Lattice;
    f.source = input;
    f.scale = "1";
    f.xSpacing = text::CStr(text::Round(L.xint, 4));
    f.zSpacing = text::CStr(text::Round(L.yint, 4));
    f.px = (L.nx - 1) * L.xint / 2;
    f.py = 2.5 * L.zmax;
    f.pz = (L.ny - 1) * L.yint / 2;
    f.xDimension = L.nx;
    f.zDimension = L.ny;
    f.heights = L.H;
    formats::writeVrmlElevationGrid(out, f);
}

void CsvLatticeToTiffDem(const std::string& input, const std::string& out) {
    RefuseOverwritingInput(input, out);
    CsvLattice L = ReadCsvLattice(input);
    formats::TiffDem d;
    d.nx = L.nx;
    d.ny = L.ny;
    d.xint = L.xint;
    d.yint = L.yint;
    d.x0 = L.xmin;
    d.y0 = L.ymin;
    d.h = std::move(L.H);
    formats::writeTiffDem(out, d);
}

} // namespace trelvik::conversion
