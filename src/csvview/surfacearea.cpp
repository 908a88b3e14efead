#include "csvview/surfacearea.h"

#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "core/vectors.h"
#include "formats/resultscsv.h"

#include <cmath>

namespace trelvik::csvview {

namespace {

// Area of the right triangle with legs (dx, 0, hx) and (0, dy, hy).
inline double triangleArea(double dx, double dy, double hx, double hy) {
    const double cx = CrossProductX(dx, 0, hx, 0, dy, hy);
    const double cy = CrossProductY(dx, 0, hx, 0, dy, hy);
    const double cz = CrossProductZ(dx, 0, hx, 0, dy, hy);
    return 0.5 * VectorLength(cx, cy, cz);
}

std::string optionalNum(bool has, double v) { return has ? text::CStr(v) : std::string(); }

std::string roundedText(bool has, double v, int decimals) {
    return has ? text::CStr(text::Round(v, decimals)) : std::string("-");
}

} // namespace

SurfaceMeasures measureSurface(const LatticeGrid& working, double dx, double dy, double zmin) {
    SurfaceMeasures m;
    const int cols = working.cols, rows = working.rows;
    const std::size_t w = static_cast<std::size_t>(cols);
    std::vector<double> z(working.cells.size());
    for (std::size_t k = 0; k < z.size(); ++k) z[k] = working.cells[k].z;

    double sa = 0, pa = 0;
    const double cell = dx * dy;
    for (int j = 1; j < rows; ++j) {
        const double* lo = z.data() + static_cast<std::size_t>(j - 1) * w;
        const double* hi = lo + w;
        for (int i = 0; i + 1 < cols; ++i) {
            const double z00 = lo[i], z10 = lo[i + 1], z01 = hi[i], z11 = hi[i + 1];
            const int empty = isVoid(z00) + isVoid(z10) + isVoid(z01) + isVoid(z11);
            if (empty >= 2) continue;
            if (empty == 1) {
                pa += cell / 2;
                continue;
            }
            pa += cell;
            const double a1 = triangleArea(dx, dy, z10 - z00, z01 - z00) + triangleArea(dx, dy, z01 - z11, z10 - z11);
            const double a2 = triangleArea(dx, dy, z00 - z10, z11 - z10) + triangleArea(dx, dy, z11 - z01, z00 - z01);
            sa += (a1 + a2) / 2;
        }
    }

    double s = 0;
    for (int j = 0; j < rows; ++j) {
        const double* row = z.data() + static_cast<std::size_t>(j) * w;
        long count = 0;
        double last = 0;
        for (int i = 0; i < cols; ++i) {
            if (isVoid(row[i])) continue;
            const double h = row[i] - zmin;
            s += count == 0 ? h / 2 : h;
            last = h;
            ++count;
        }
        if (count >= 2) s -= last / 2;
    }
    m.surfaceArea = sa;
    m.planarArea = pa;
    m.volume = cell * s;
    m.hasReliefIndex = pa != 0;
    if (m.hasReliefIndex) m.reliefIndex = sa / pa;
    m.hasSaVolRatio = m.volume != 0;
    if (m.hasSaVolRatio) m.saVolRatio = sa / m.volume;
    return m;
}

SurfaceTexts surfaceTexts(const SurfaceMeasures& m) {
    SurfaceTexts t;
    t.sa = roundedText(true, m.surfaceArea, 3);
    t.pa = roundedText(true, m.planarArea, 3);
    t.vol = roundedText(true, m.volume, 3);
    t.ri = roundedText(m.hasReliefIndex, m.reliefIndex, 3);
    t.saVolRatio = roundedText(m.hasSaVolRatio, m.saVolRatio, 5);
    return t;
}

SurfaceMeasures CalcSAVolStats(const LatticeGrid& working, double dx, double dy, double zmin, bool saveStats,
                               const RunContext& ctx) {
    const SurfaceMeasures m = measureSurface(working, dx, dy, zmin);
    if (saveStats) writeSAVolStats(m, ctx);
    return m;
}

void writeSAVolStats(const SurfaceMeasures& m, const RunContext& ctx) {
    const std::string dir = ensureResultsFolder(ctx.folder, "savol");
    // A measure without value (planar area or volume 0) leaves its item empty.
    const std::string values = text::WriteLine().text("SAVol").num(m.surfaceArea).num(m.planarArea).str() + "," +
                               optionalNum(m.hasReliefIndex, m.reliefIndex) + "," + text::CStr(m.volume) + "," +
                               optionalNum(m.hasSaVolRatio, m.saVolRatio);
    const std::string header =
        text::WriteLine().text("Info").text("SurfaceArea").text("PlanarArea").text("ReliefIndex").text("Volume").text("SAVolRatio").str();
    // The file's table and its summary row go in place together.
    StagedFiles files;
    const std::string table = dir + ctx.baseName + "savolstats.csv";
    files.naming([&] { formats::writeResultsTable(files.work(table), {header, values}); });
    if (ctx.allFilesRunning) {
        const std::string sumHeader = text::WriteLine().text("File").str() + "," + header;
        const std::string row = text::WriteLine().text(ctx.baseName).str() + "," + values;
        stageSummaryRow(files, dir + "00savolstats.csv", sumHeader, row, !ctx.allFilesStarted);
    }
    files.commit();
}

} // namespace trelvik::csvview
