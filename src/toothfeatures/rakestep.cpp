#include "toothfeatures/rakestep.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/xyzdump.h"
#include "planes/toothlength.h"
#include "surfer/application.h"

#include <algorithm>

namespace trelvik::toothfeatures {

namespace {

std::string lengthFileText(const std::string& stem, const std::string& suffix) {
    return planes::readToothLengthFile(stem + suffix + ".txt").text;
}

struct TurnedNodes {
    long long count = 0;
    double minX = 100000, maxX = -100000, minY = 100000, maxY = -100000;
    double dx = 0, dy = 0;
    bool haveDy = false;
};

// Turns every node of the blanked grid's XYZ text that has a height into the occlusal
// frame, writing "x,y,z" lines, and takes the tooth grid's spacing from the first nodes.
TurnedNodes turnNodes(const std::string& xyz, const std::string& out, const OcclusalFrame& frame) {
    TurnedNodes t;
    AtomicTextWriter w(out);
    double x1 = 0, y1 = 0;
    long long record = 0;
    std::string line;
    formats::scanXyzDump(xyz, [&](const formats::XyzRecord& r) {
        ++record;
        if (record == 1) {
            x1 = r.x;
            y1 = r.y;
        } else if (record == 2) {
            t.dx = r.x - x1;
        } else if (!t.haveDy && r.y > y1) {
            t.dy = r.y - y1;
            t.haveDy = true;
        }
        if (isBlank(r.z)) return;
        const PointXYZ p = frame({r.x, r.y, r.z});
        line.clear();
        line += text::CStr(p.x);
        line += ',';
        line += text::CStr(p.y);
        line += ',';
        line += text::CStr(p.z);
        w.line(line);
        ++t.count;
        t.minX = std::min(t.minX, p.x);
        t.maxX = std::max(t.maxX, p.x);
        t.minY = std::min(t.minY, p.y);
        t.maxY = std::max(t.maxY, p.y);
    });
    if (t.count == 0) throw Error("No node of the blanked grid " + xyz + " has a height: outline the cusp area on the tooth.");
    if (record < 2 || !t.haveDy || !(t.dx > 0))
        throw Error("The blanked grid " + xyz + " has fewer than two rows or columns, so its spacing is unknown.");
    w.commit();
    return t;
}

double typedSpacing(const std::string& text, const char* axis) {
    const auto v = numberIn(text);
    if (!v || !(*v > 0))
        throw Error(std::string("The ") + axis + " spacing of the cusp area grid must be a number above 0, not \"" +
                    text + "\".");
    return *v;
}

} // namespace

double defaultTransSpacing(double spacing, double dx) {
    return (dx < 1 ? text::Round(spacing, 3) : text::Round(spacing, 0)) / 2;
}

bool cmdDigCuspArea(AppState& app, Prompt& prompt, RakeState& rs, const CuspAreaRequest& rq,
                    const RakePlotter& plot, CuspAreaResult& result) {
    return runStep(prompt, [&] {
        const OcclusalState& st = rs.occ;
        if (!requireOcclusalVector(prompt, st)) return false;
        double sx = 0, sy = 0;
        if (!rq.Check1) {
            sx = typedSpacing(rq.Text3, "x");
            sy = typedSpacing(rq.Text4, "y");
        }
        if (!askDigitise(prompt, "Use 'Digitise' to define cusp area.", "digit1.dat")) return false;

        const std::string stem = st.GridDir + st.GridBaseName;
        const std::string digitise = st.GridDir + "digit1.dat";
        const formats::PointXYList outline = formats::readDigitisePoints(digitise);
        if (outline.size() < 3)
            throw Error("The cusp area outline in " + digitise + " has " + std::to_string(outline.size()) +
                        " points; outline the area with at least three.");
        writeFileAtomic(stem + "_cap.dat", readWholeFile(digitise));
        const std::string bln = stem + "_cap.bln", cab = stem + "_cab.dat";
        formats::writeBlnFile(bln, {formats::closedOutline(outline, 0)}, formats::BlnLayout::Zone);
        callSurfer(app, *st.m_Surfer, "GridBlank", surfer::Positional{st.GridFullPath, bln, cab, 3},
                   surfer::Named{{"InGrid", st.GridFullPath}, {"BlankFile", bln}, {"OutGrid", cab}, {"OutFmt", 4}});

        const std::string turned = stem + "_cabtrs.dat";
        const TurnedNodes t = turnNodes(cab, turned, OcclusalFrame(*st.OcclusalUnitVector));
        result.Label9 = text::CStr(t.dx);
        result.Label10 = text::CStr(t.dy);
        if (rq.Check1) {
            sx = defaultTransSpacing(t.dx, t.dx);
            sy = defaultTransSpacing(t.dy, t.dx);
            if (!(sx > 0) || !(sy > 0))
                throw Error("The tooth grid's spacing (" + result.Label9 + " by " + result.Label10 +
                            ") rounds to 0: untick \"Use default\" and type the spacings of the cusp area grid.");
            result.Text3 = text::CStr(sx);
            result.Text4 = text::CStr(sy);
        } else {
            result.Text3 = rq.Text3;
            result.Text4 = rq.Text4;
        }

        const std::string trans = stem + "_cabtrs.grd";
        surfer::Positional v6{turned, short(0), short(1), short(2), surfer::omitted, surfer::omitted, surfer::omitted,
                              surfer::omitted, sx, sy, surfer::omitted, surfer::omitted, short(6), trans};
        const double xMin = sx * static_cast<double>(text::CInt(t.minX / sx));
        const double xMax = sx * static_cast<double>(text::CInt(t.maxX / sx));
        const double yMin = sy * static_cast<double>(text::CInt(t.minY / sy));
        const double yMax = sy * static_cast<double>(text::CInt(t.maxY / sy));
        const long long cols = text::CInt((xMax - xMin) / sx) + 1, rows = text::CInt((yMax - yMin) / sy) + 1;
        const surfer::Named v8{{"DataFile", turned}, {"NumCols", cols}, {"NumRows", rows}, {"XMin", xMin},
                               {"XMax", xMax}, {"YMin", yMin}, {"YMax", yMax}, {"Algorithm", 9},
                               {"ShowReport", false}, {"OutGrid", trans}};
        callSurfer(app, *st.m_Surfer, "GridData", v6, v8);
        rs.TransGrid = trans;

        // Version 6 draws through the shared reference: the map belongs with this window's instance.
        if (isV6(app) && (!app.SurferApp || app.SurferApp->version() != 6)) app.SurferApp = st.m_Surfer;
        if (plot) {
            plot(trans, 1);
            plot(trans, 4);
        }
        if (rq.chkInputLengthFile) result.txtRakeLengthF = lengthFileText(stem, rq.txtInputLengthFile);
        return true;
    });
}

bool cmdInputTransGrid(Prompt& prompt, RakeState& rs, const TransGridRequest& rq,
                       std::optional<std::string>& lengthText) {
    return runStep(prompt, [&] {
        const std::string tail = "_cabtrs.grd";
        if (rq.Text2.size() < tail.size() || rq.Text2.compare(rq.Text2.size() - tail.size(), tail.size(), tail) != 0) {
            refuse(prompt, "Invalid file", "Selected file is not a translated grid. File should end with _cabtrs.grd");
            return false;
        }
        OcclusalState& st = rs.occ;
        st.GridDir = folderOf(rq.Label3);
        st.GridBaseName = rq.Text2.substr(0, rq.Text2.size() - tail.size());
        rs.TransGrid = st.GridDir + rq.Text2;
        if (rq.chkInputLengthFile) lengthText = lengthFileText(st.GridDir + st.GridBaseName, rq.txtInputLengthFile);
        return true;
    });
}

} // namespace trelvik::toothfeatures
