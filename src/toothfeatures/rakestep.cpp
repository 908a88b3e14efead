#include "toothfeatures/rakestep.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "core/digitiseinputs.h"
#include "planes/occlusalvector.h"
#include "planes/rotatepoints.h"
#include "planes/toothlength.h"
#include "surfer/application.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace trelvik::toothfeatures {

namespace {

// The tooth-length file of a grid: its stem, the window's "Input length file" text, ".txt".
std::string lengthFile(const std::string& stem, const std::string& suffix) { return stem + suffix + ".txt"; }

// The step's length file checked before anything is asked or taken.
bool lengthFilePresent(Prompt& prompt, const std::string& stem, const std::string& suffix) {
    return inputsPresent(prompt, {toothLengthInput(lengthFile(stem, suffix), "Input length file")});
}

std::string lengthFileText(const std::string& stem, const std::string& suffix) {
    return planes::readToothLengthFile(lengthFile(stem, suffix)).text;
}

struct DumpSpacing {
    double dx = 0, dy = 0;
};

// The tooth grid's spacing from the blanked grid's XYZ text, whose nodes come in rows
// with x running fastest: dx from the first two nodes, dy from the first node of a
// higher row. Only the first row and a line are read.
DumpSpacing spacingFromDump(const std::string& xyz, const std::string& outline) {
    InputFile file(xyz, "Cannot read the blanked grid " + xyz);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(file.releaseAsStream(), &std::fclose);
    const auto getLine = [&in](std::string& line) {
        line.clear();
        int c = 0;
        while ((c = std::getc(in.get())) != EOF && c != '\n') line += static_cast<char>(c);
        return c != EOF || !line.empty();
    };
    DumpSpacing s;
    std::string line;
    double x1 = 0, y1 = 0;
    long record = 0;
    while (getLine(line)) {
        const std::vector<double> v = text::numbers(line);
        if (v.size() < 3) continue;
        ++record;
        if (record == 1) {
            x1 = v[0];
            y1 = v[1];
        } else if (record == 2) {
            s.dx = v[0] - x1;
        } else if (v[1] > y1) {
            s.dy = v[1] - y1;
            break;
        }
    }
    if (!(s.dx > 0) || !(s.dy > 0))
        throw Error("The grid blanked outside the cusp area outline in " + outline +
                    " has fewer than two rows or columns, so its spacing is unknown.");
    return s;
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
        const std::string stem = st.GridDir + st.GridBaseName;
        if (!requireGridFile(prompt, st)) return false;
        if (rq.chkInputLengthFile && !lengthFilePresent(prompt, stem, rq.txtInputLengthFile)) return false;
        const std::string digitise = st.GridDir + "digit1.dat";
        if (!askDigitise(prompt, "Use 'Digitise' to define cusp area.", digitise)) return false;

        const formats::PointXYList outline = formats::readDigitisePoints(digitise);
        if (outline.size() < 3)
            throw Error("The cusp area outline in " + digitise + " has " + std::to_string(outline.size()) +
                        (outline.size() == 1 ? " point" : " points") + "; outline the area with at least three.");
        // The outline's files and the turned grid are made under working names and put in
        // place only when the area holds heights and a spacing: a refused outline leaves the
        // cusp area made before.
        StagedFiles staged;
        writeFileAtomic(staged.work(stem + "_cap.dat"), readWholeFile(digitise));
        const std::string& bln = staged.work(stem + "_cap.bln");
        const std::string& cab = staged.work(stem + "_cab.dat");
        formats::writeBlnFile(bln, {formats::closedOutline(outline, 0)}, formats::BlnLayout::Zone);
        callSurfer(app, *st.m_Surfer, "GridBlank", surfer::Positional{st.GridFullPath, bln, cab, 3},
                   surfer::Named{{"InGrid", st.GridFullPath}, {"BlankFile", bln}, {"OutGrid", cab}, {"OutFmt", 4}});

        const std::string& turned = staged.work(stem + "_cabtrs.dat");
        const planes::PointExtents e = planes::RotatePointFile(
            cab, turned, planes::RotationToHorizontal(planes::toVec3(*st.OcclusalUnitVector)), planes::PointLayout::Comma);
        if (e.count == 0)
            throw Error("No node of the grid inside the cusp area outline in " + digitise +
                        " has a height: outline the cusp area on the tooth.");
        const DumpSpacing t = spacingFromDump(cab, digitise);
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
        planes::RegridRotatedPoints(app, *st.m_Surfer, turned, e, sx, sy, staged.work(trans));
        staged.commit();
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
        const std::string dir = folderOf(rq.Label3);
        const std::string baseName = rq.Text2.substr(0, rq.Text2.size() - tail.size());
        // The length is read before the grid is taken: a failure must not leave this
        // grid paired with the length box of the tooth before.
        std::optional<std::string> length;
        if (rq.chkInputLengthFile) {
            const std::string stem = dir + baseName;
            if (!lengthFilePresent(prompt, stem, rq.txtInputLengthFile)) return false;
            length = lengthFileText(stem, rq.txtInputLengthFile);
        }
        OcclusalState& st = rs.occ;
        st.GridDir = dir;
        st.GridBaseName = baseName;
        rs.TransGrid = st.GridDir + rq.Text2;
        if (length) lengthText = std::move(length);
        return true;
    });
}

} // namespace trelvik::toothfeatures
