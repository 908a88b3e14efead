#include "planes/rotatepoints.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/numberrows.h"
#include "formats/xyzdump.h"
#include "planes/planefitgrid.h"
#include "surfer/application.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace trelvik::planes {

namespace {
// Heights above this are the blank nodes of the dump.
constexpr double kDumpBlank = 1.7e38;
// Points turned and then written a batch at a time, in parallel blocks (numberrows.h),
// so a large dump is never held whole.
constexpr std::size_t kBatch = std::size_t{1} << 18;
} // namespace

PointExtents RotatePointFile(const std::string& xyzIn, const std::string& out, const Mat3& r, PointLayout layout) {
    formats::ChunkWriter w(out);
    std::vector<Vec3> batch;
    batch.reserve(kBatch);
    auto flush = [&] {
        if (layout == PointLayout::Comma) {
            formats::writeNumberRows(w, batch.size(), 3, [&batch](std::size_t i, double* v) {
                v[0] = batch[i].x();
                v[1] = batch[i].y();
                v[2] = batch[i].z();
            });
        } else {
            formats::writeRows(w, batch.size(), 3 * formats::kPrintZoneRoom + 2, [&batch](std::size_t i, char* p) {
                const double v[3] = {batch[i].x(), batch[i].y(), batch[i].z()};
                return formats::writePrintZoneRow(p, v, 3);
            });
        }
        batch.clear();
    };
    PointExtents e;
    formats::scanXyzDump(xyzIn, [&](const formats::XyzRecord& rec) {
        if (rec.z > kDumpBlank) return;
        const Vec3 p = r * Vec3(rec.x, rec.y, rec.z);
        if (e.count == 0) {
            e.minX = e.maxX = p.x();
            e.minY = e.maxY = p.y();
        } else {
            e.minX = std::min(e.minX, p.x());
            e.maxX = std::max(e.maxX, p.x());
            e.minY = std::min(e.minY, p.y());
            e.maxY = std::max(e.maxY, p.y());
        }
        ++e.count;
        batch.push_back(p);
        if (batch.size() == kBatch) flush();
    });
    flush();
    w.commit();
    return e;
}

RegridLattice RegridLatticeFor(const PointExtents& e, double dx, double dy) {
    if (!(dx > 0) || !(dy > 0) || !std::isfinite(dx) || !std::isfinite(dy))
        throw Error("The intervals of the new grid must be above 0 (x " + text::CStr(dx) + ", y " + text::CStr(dy) +
                    ")");
    if (e.count == 0) throw Error("There are no points to grid: every node is blank");
    const double i0 = text::Round(e.minX / dx), i1 = text::Round(e.maxX / dx);
    const double j0 = text::Round(e.minY / dy), j1 = text::Round(e.maxY / dy);
    RegridLattice l;
    l.XMin = i0 * dx;
    l.XMax = i1 * dx;
    l.YMin = j0 * dy;
    l.YMax = j1 * dy;
    const double cols = i1 - i0 + 1, rows = j1 - j0 + 1;
    if (cols > 1e8 || rows > 1e8 || cols * rows > 2e9)
        throw Error("The new grid would have " + text::CStr(cols) + " x " + text::CStr(rows) +
                    " nodes: choose larger intervals");
    l.NumCols = static_cast<long>(cols);
    l.NumRows = static_cast<long>(rows);
    return l;
}

void RegridRotatedPoints(const AppState& app, surfer::Application& m_Surfer, const std::string& pointFile,
                         const PointExtents& extents, double dx, double dy, const std::string& outGrid) {
    const bool v6 = usesVersion6(app);
    const RegridLattice l = RegridLatticeFor(extents, dx, dy);
    if (v6) {
        m_Surfer.call("GridData", surfer::Positional{pointFile, 0, 1, 2, surfer::omitted, surfer::omitted,
                                                     surfer::omitted, surfer::omitted, dx, dy, surfer::omitted,
                                                     surfer::omitted, 6, outGrid});
    } else {
        m_Surfer.call("GridData", surfer::Named{{"DataFile", pointFile},
                                                {"NumCols", l.NumCols},
                                                {"NumRows", l.NumRows},
                                                {"XMin", l.XMin},
                                                {"XMax", l.XMax},
                                                {"YMin", l.YMin},
                                                {"YMax", l.YMax},
                                                {"Algorithm", 9},
                                                {"ShowReport", false},
                                                {"OutGrid", outGrid}});
    }
}

} // namespace trelvik::planes
