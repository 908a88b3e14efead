#include "surfer/gridvolume.h"

#include "core/error.h"
#include "surfer/application.h"
#include "surfer/griddataparallel.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

#include <array>
#include <charconv>
#include <cmath>
#include <future>

namespace surfer {

using trelvik::Grid;

namespace {

struct Sums {
    double trap = 0, posVol = 0, negVol = 0, posArea = 0, negArea = 0, posSurf = 0, negSurf = 0, blankCells = 0;
};

// Adds one triangle with differences d[0..2], planar area at and upper-surface area st.
inline void addTriangle(Sums& s, double d0, double d1, double d2, double at, double st) {
    const int pos = (d0 > 0) + (d1 > 0) + (d2 > 0);
    const int neg = (d0 < 0) + (d1 < 0) + (d2 < 0);
    const double integral = at * (d0 + d1 + d2) / 3.0;
    if (neg == 0) {
        s.posArea += at;
        s.posVol += integral;
        s.posSurf += st;
        return;
    }
    if (pos == 0) {
        s.negArea += at;
        s.negVol -= integral;
        s.negSurf += st;
        return;
    }
    // One vertex alone on its side of d = 0: its corner triangle is cut off at the zero line.
    double lone, o1, o2;
    if (pos == 1) {
        lone = d0 > 0 ? d0 : (d1 > 0 ? d1 : d2);
        o1 = d0 > 0 ? d1 : d0;
        o2 = d0 > 0 ? d2 : (d1 > 0 ? d2 : d1);
    } else {
        lone = d0 < 0 ? d0 : (d1 < 0 ? d1 : d2);
        o1 = d0 < 0 ? d1 : d0;
        o2 = d0 < 0 ? d2 : (d1 < 0 ? d2 : d1);
    }
    const double f = (lone / (lone - o1)) * (lone / (lone - o2));  // area fraction of the corner piece
    const double cornerArea = f * at;
    const double cornerIntegral = cornerArea * lone / 3.0;
    const double restIntegral = integral - cornerIntegral;
    if (lone > 0) {
        s.posArea += cornerArea;
        s.posVol += cornerIntegral;
        s.posSurf += f * st;
        s.negArea += at - cornerArea;
        s.negVol -= restIntegral;
        s.negSurf += (1 - f) * st;
    } else {
        s.negArea += cornerArea;
        s.negVol -= cornerIntegral;
        s.negSurf += f * st;
        s.posArea += at - cornerArea;
        s.posVol += restIntegral;
        s.posSurf += (1 - f) * st;
    }
}

std::string num(double v) {
    std::array<char, 40> buf;
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    return std::string(buf.data(), res.ptr);
}

void gridRows(std::vector<std::vector<std::string>>& s, const std::string& path, const Grid& g) {
    s.push_back({"Grid File Name:", path});
    s.push_back({"Grid Size:", "", "columns:", num(g.cols), "", "rows:", num(g.rows)});
    s.push_back({"X Spacing:", num(g.xSpacing())});
    s.push_back({"Y Spacing:", num(g.ySpacing())});
    s.push_back({num(g.xMin), "<= X <=", num(g.xMax)});
    s.push_back({num(g.yMin), "<= Y <=", num(g.yMax)});
    s.push_back({num(g.zMin()), "<= Z <=", num(g.zMax())});
}

} // namespace

VolumeResult computeVolume(const Grid& upper, const Grid* lower, double lowerLevel) {
    if (lower && !sameLattice(upper, *lower))
        throw trelvik::Error("GridVolume: the upper and lower grids do not share the same nodes");
    VolumeResult r;
    const double dx = upper.xSpacing(), dy = upper.ySpacing();
    r.totalPlanar = (upper.xMax - upper.xMin) * (upper.yMax - upper.yMin);
    if (upper.cols < 2 || upper.rows < 2) return r;
    const double cellArea = dx * dy, at = cellArea / 2;
    const int nc = upper.cols;
    // Rows are summed on their own and then added in row order, so the totals do not
    // depend on how many threads ran.
    std::vector<Sums> rowSums(static_cast<std::size_t>(upper.rows - 1));
    detail::forEachRowBlock(upper.rows - 1, [&](int firstRow, int endRow) {
        for (int j = firstRow; j < endRow; ++j) {
        Sums& s = rowSums[static_cast<std::size_t>(j)];
        const double* u0 = upper.z.data() + static_cast<std::size_t>(j) * nc;
        const double* u1 = u0 + nc;
        const double* l0 = lower ? lower->z.data() + static_cast<std::size_t>(j) * nc : nullptr;
        const double* l1 = l0 ? l0 + nc : nullptr;
        for (int i = 0; i + 1 < nc; ++i) {
            const double z00 = u0[i], z10 = u0[i + 1], z01 = u1[i], z11 = u1[i + 1];
            double b00 = lowerLevel, b10 = lowerLevel, b01 = lowerLevel, b11 = lowerLevel;
            if (l0) {
                b00 = l0[i];
                b10 = l0[i + 1];
                b01 = l1[i];
                b11 = l1[i + 1];
            }
            if (trelvik::isBlank(z00) || trelvik::isBlank(z10) || trelvik::isBlank(z01) || trelvik::isBlank(z11) ||
                trelvik::isBlank(b00) || trelvik::isBlank(b10) || trelvik::isBlank(b01) || trelvik::isBlank(b11)) {
                s.blankCells += 1;
                continue;
            }
            const double d00 = z00 - b00, d10 = z10 - b10, d01 = z01 - b01, d11 = z11 - b11;
            s.trap += cellArea * (d00 + d10 + d01 + d11) / 4.0;
            // The cell is split along each of its diagonals in turn and the two splits
            // weighted a half each: one diagonal alone would make a mirrored grid measure
            // differently, and together the splits give the trapezoidal volume of a cell
            // that the zero line does not cross. Each triangle's upper-surface area is
            // half the length of the cross product of two of its edges; the constant
            // cellArea^2 term is its vertical component.
            const double ax = dy * (z10 - z00), ay = dx * (z01 - z00);  // (00,10,01)
            const double bx = dy * (z01 - z11), by = dx * (z10 - z11);  // (10,11,01)
            const double cx = dy * (z10 - z00), cy = dx * (z10 - z11);  // (00,10,11)
            const double ex = dy * (z01 - z11), ey = dx * (z01 - z00);  // (00,11,01)
            const double c2 = cellArea * cellArea;
            const double quarter = 0.25;  // half a triangle's share in each of the two splits
            addTriangle(s, d00, d10, d11, at / 2, quarter * std::sqrt(cx * cx + cy * cy + c2));
            addTriangle(s, d00, d11, d01, at / 2, quarter * std::sqrt(ex * ex + ey * ey + c2));
            addTriangle(s, d00, d10, d01, at / 2, quarter * std::sqrt(ax * ax + ay * ay + c2));
            addTriangle(s, d10, d11, d01, at / 2, quarter * std::sqrt(bx * bx + by * by + c2));
        }
        }
    });
    Sums total;
    for (const Sums& s : rowSums) {
        total.trap += s.trap;
        total.posVol += s.posVol;
        total.negVol += s.negVol;
        total.posArea += s.posArea;
        total.negArea += s.negArea;
        total.posSurf += s.posSurf;
        total.negSurf += s.negSurf;
        total.blankCells += s.blankCells;
    }
    r.trapezoidal = total.trap;
    r.positiveVolume = total.posVol;
    r.negativeVolume = total.negVol;
    r.positivePlanar = total.posArea;
    r.negativePlanar = total.negArea;
    r.positiveSurface = total.posSurf;
    r.negativeSurface = total.negSurf;
    r.blankedPlanar = total.blankCells * cellArea;
    return r;
}

std::vector<double> volumeResultArray(const VolumeResult& r) {
    return {0,
            r.trapezoidal,
            r.netVolume(),
            r.positiveVolume,
            r.negativeVolume,
            r.positivePlanar,
            r.negativePlanar,
            r.positiveSurface,
            r.negativeSurface,
            r.blankedPlanar,
            r.totalPlanar,
            0};
}

std::vector<std::vector<std::string>> volumeReportSheet(const VolumeReportInput& in, const VolumeResult& r) {
    std::vector<std::vector<std::string>> s;
    s.push_back({"Grid Volume Computations"});
    s.push_back({"Upper Surface"});
    gridRows(s, in.upperPath, *in.upper);  // rows 3 to 9
    s.push_back({});
    s.push_back({"Lower Surface"});
    if (in.lower) gridRows(s, in.lowerPath, *in.lower);  // rows 12 to 18
    else s.push_back({"Level Surface defined by Z =", num(in.lowerLevel)});
    s.push_back({});
    s.push_back({"Volumes"});
    s.push_back({});
    s.push_back({"Total Volumes by:"});
    s.push_back({"", "Trapezoidal Rule:", num(r.trapezoidal)});
    s.push_back({});
    s.push_back({"Cut & Fill Volumes:"});
    s.push_back({"", "Net Volume [Cut-Fill]:", num(r.netVolume())});
    s.push_back({"", "Positive Volume [Cut]:", num(r.positiveVolume)});  // row 21 (27 with a lower grid)
    s.push_back({"", "Negative Volume [Fill]:", num(r.negativeVolume)});
    s.push_back({});
    s.push_back({"Areas"});
    s.push_back({});
    s.push_back({"Planar Areas:"});
    s.push_back({"", "Positive Planar Area [Cut]:", num(r.positivePlanar)});  // row 27 (33)
    s.push_back({"", "Negative Planar Area [Fill]:", num(r.negativePlanar)});
    s.push_back({"", "Blanked Planar Area:", num(r.blankedPlanar)});
    s.push_back({"", "Total Planar Area:", num(r.totalPlanar)});
    s.push_back({});
    s.push_back({"Surface Areas:"});
    s.push_back({});
    s.push_back({"", "Positive Surface Area [Cut]:", num(r.positiveSurface)});  // row 34 (40)
    s.push_back({"", "Negative Surface Area [Fill]:", num(r.negativeSurface)});
    return s;
}

void registerGridVolume(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridVolume";
    op.names = {"Upper", "Lower", "pResults", "ShowReport"};
    // Version 6: upper grid, (upper level: not available), lower grid, lower level.
    op.positional6 = {"Upper", "UpperLevel", "Lower", "LowerLevel"};
    op.required = {"Upper"};
    op.run = [](Application& app, const Args& a) {
        if (a.has("UpperLevel")) throw trelvik::Error("GridVolume: an upper level in place of a grid is not available");
        VolumeReportInput in;
        in.upperPath = a.text("Upper");
        const Value& lowerArg = a.raw("Lower");
        std::future<Grid> lowerRead;
        if (lowerArg.isText()) {
            in.lowerPath = lowerArg.text();
            lowerRead = std::async(std::launch::async, readInputGrid, in.lowerPath);
        }
        const Grid upper = readInputGrid(in.upperPath);
        in.upper = &upper;
        Grid lower;
        if (lowerRead.valid()) {
            lower = lowerRead.get();
            in.lower = &lower;
        } else if (lowerArg.isNumber()) {
            in.lowerLevel = lowerArg.number();
        } else if (!lowerArg.isOmitted()) {
            throw trelvik::Error("GridVolume: argument Lower must be a grid file or a level");
        } else {
            in.lowerLevel = a.optNumber("LowerLevel").value_or(0.0);
        }
        const VolumeResult r = computeVolume(upper, in.lower, in.lowerLevel);
        if (ResultArray* out = a.results("pResults")) *out = volumeResultArray(r);
        auto sheet = volumeReportSheet(in, r);
        const bool show = app.version() == 6 || a.flag("ShowReport", true);
        if (show) app.setCurrentReport(worksheetText(sheet));
        if (app.version() == 6) {
            // Version 6 shows the report as a document of its own, which the caller saves.
            auto doc = std::make_shared<Worksheet>(app, app.nextDocumentName("Report"));
            doc->setRows(std::move(sheet));
            app.addDocument(doc);
        }
    };
    reg.add(std::move(op));
}

} // namespace surfer
