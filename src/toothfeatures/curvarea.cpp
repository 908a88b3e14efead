#include "toothfeatures/curvarea.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/digitisefile.h"
#include "formats/resultscsv.h"
#include "formats/xyzdump.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surferfns/regridxyz.h"
#include "toothfeatures/stepservices.h"

#include <cmath>

namespace trelvik::toothfeatures {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

// Nodes the mapping program blanked carry 1.70141E+38; real curvature stays far below.
constexpr double kAreaBlankAbove = 1e36;

struct Areas {
    double planar = 0, surface = 0;
};

// The grid blanked outside the outline, as XYZ text (xyz) or as a grid; a failure names
// the patch's files as the user knows them.
void blank(CurvContext& ctx, const StagedFiles& staged, const std::string& grid, const std::string& bln,
           const std::string& out, bool xyz) {
    staged.naming([&] {
        if (xyz)
            CallCurv(ctx, "GridBlank", Positional{grid, bln, out, 3},
                     Named{{"InGrid", grid}, {"BlankFile", bln}, {"OutGrid", out}, {"OutFmt", 4}});
        else
            CallCurv(ctx, "GridBlank", Positional{grid, bln, out},
                     Named{{"InGrid", grid}, {"BlankFile", bln}, {"OutGrid", out}});
    });
}

Areas patchAreas(CurvContext& ctx, const CurvControls& c, const std::string& grid, const StagedFiles& staged) {
    surfer::Application& app = AttachedSurfer(ctx);
    Areas a;
    staged.naming([&] {
        if (IsV6(ctx)) {
            app.call("GridVolume", Positional{grid, omitted, omitted, 0});
            const std::vector<double> v =
                readReportSheet(app, JoinPath(c.Label1, "volume.dat"), {{27, 3}, {34, 3}}, &staged);
            a.planar = v[0];
            a.surface = v[1];
        } else if (IsV8(ctx)) {
            surfer::ResultArray results(12, 0.0);
            app.call("GridVolume",
                     Named{{"Upper", grid}, {"Lower", 0}, {"pResults", &results}, {"ShowReport", false}});
            if (results.size() < 8) throw Error("GridVolume returned no areas for " + grid);
            a.planar = results[5];
            a.surface = results[7];
        }
    });
    return a;
}

// One measurement of the patch the controls describe.
StepOutcome measure(CurvContext& ctx, CurvControls& c) {
    CurvState& s = ctx.state;
    const bool square = c.optAreaSquare;
    double side = 0;
    if (square) {
        s.UnitFactor = c.optUnitsMM ? 0.001 : 1.0;
        const auto typed = BoxNumber(c.Text5);
        if (!typed || !(*typed > 0)) {
            Refuse(ctx, "Values", "Length of square (\u00b5m) must be a number above 0.");
            return StepOutcome::Refused;
        }
        side = *typed;
        c.Label25 = text::Str(side * side);
    }
    if (s.CurvatureGrid.empty() || (!square && s.TopoGrid.empty())) {
        Refuse(ctx, "Filename", "Make or input the topographic and curvature grids first.");
        return StepOutcome::Refused;
    }
    if (!DigitiseGridsPresent(ctx, c, !square, true)) return StepOutcome::Refused;
    AttachedSurfer(ctx);

    const std::string stem = square ? s.TopoStem + "_cac" + c.Text5 : s.TopoStem + "_ciac-" + c.Text4;
    const std::string points = stem + ".dat", line = stem + ".bln";
    const std::string xyz = stem + "out.dat", values = stem + "outstr.dat";
    const std::string digit = JoinPath(c.Label1, "digit.dat");
    // Every file of the patch is made under a working name and put in place only once the
    // patch holds curvature values: a refused corner or outline leaves the earlier run's
    // files, the corner "Use previously digitised point" reuses among them.
    StagedFiles staged;
    Areas areas;
    if (square) {
        std::string cornerFile = points;
        if (!c.chkUsePrevDig) {
            if (!AskDigitise(ctx, "Use 'Digitise' to define bottom left corner of cusp area.", digit))
                return StepOutcome::Cancelled;
            cornerFile = digit;
        } else if (!FileExists(points)) {
            Refuse(ctx, "Filename", "There is no corner from an earlier run for this side (" + points +
                                        "): untick 'Use previously digitised point' and digitise the corner.");
            return StepOutcome::Refused;
        }
        const formats::PointXYList corners = formats::readDigitisePoints(cornerFile);
        if (corners.empty()) {
            Refuse(ctx, "Digitise map", "Digitise the bottom left corner of the square (" + cornerFile +
                                            " holds no point).");
            return StepOutcome::Refused;
        }
        if (cornerFile == digit) surffns::copyFileReplacing(digit, staged.work(points));
        const formats::PointXY corner = corners.front();
        const std::string& lineFile = staged.work(line);
        formats::writeBlnFile(lineFile, {SquareOutline(corner.x, corner.y, side * s.UnitFactor)},
                              formats::BlnLayout::Comma);
        blank(ctx, staged, s.CurvatureGrid, lineFile, staged.work(xyz), true);
    } else {
        if (!AskDigitise(ctx, "Use 'Digitise' to define irregular area.", digit)) return StepOutcome::Cancelled;
        const formats::PointXYList outline = formats::readDigitisePoints(digit);
        if (outline.size() < 3) {
            Refuse(ctx, "Digitise map", "Digitise at least three points round the area (" + digit + ").");
            return StepOutcome::Refused;
        }
        surffns::copyFileReplacing(digit, staged.work(points));
        const std::string& lineFile = staged.work(line);
        formats::writeBlnFile(lineFile, {formats::closedOutline(outline, 0)}, formats::BlnLayout::Zone);
        blank(ctx, staged, s.CurvatureGrid, lineFile, staged.work(xyz), true);
        const std::string& topo = staged.work(s.TopoStem + "_tiac-" + c.Text4 + "out.grd");
        blank(ctx, staged, s.TopoGrid, lineFile, topo, false);
        areas = patchAreas(ctx, c, topo, staged);
    }
    if (!IsV6(ctx) && !IsV8(ctx)) return StepOutcome::Done;  // nothing was blanked

    const AreaValues v = FilterAreaValues(staged.work(xyz), staged.work(values));
    if (v.count == 0) {
        const std::string off = " holds no curvature node: it lies off the curvature grid's nodes (between them, or "
                                "off the tooth), and at least two are needed for a standard deviation. ";
        Refuse(ctx, "Error", square ? "The square" + off + "Give a larger side, or digitise its corner among the nodes."
                                    : "The area" + off + "Draw it over them.");
        return StepOutcome::Refused;
    }
    if (v.count < 2) {
        Refuse(ctx, "Error", "The area holds " + std::to_string(v.count) +
                                  " curvature node(s): at least two are needed for a standard deviation.");
        return StepOutcome::Refused;
    }
    text::WriteLine header, row;
    header.text("Ave Curvature").text("SD Curvature");
    row.num(v.mean).num(v.sd);
    if (square) {
        header.text("Length of square").text("Area");
        row.num(side).num(side * side);
    } else {
        header.text("Planar irreg area").text("3D irreg area");
        row.num(areas.planar).num(areas.surface);
    }
    // The table goes in place with the patch's files it is made from.
    formats::writeResultsTable(staged.work(stem + "_curvaresults.csv"), {header.str(), row.str()});
    staged.commit();
    return StepOutcome::Done;
}

} // namespace

formats::BlnSection SquareOutline(double x0, double y0, double side) {
    formats::BlnSection sq;
    sq.flag = 0;
    sq.literalHeader = "5,0";
    sq.vertices = {{x0, y0}, {x0, y0 + side}, {x0 + side, y0 + side}, {x0 + side, y0}, {x0, y0}};
    return sq;
}

AreaValues FilterAreaValues(const std::string& xyzFile, const std::string& valuesFile) {
    std::vector<double> z;
    AtomicTextWriter out(valuesFile);
    std::string line;
    formats::scanXyzDump(xyzFile, [&](const formats::XyzRecord& r) {
        if (r.z > kAreaBlankAbove || std::isnan(r.z)) return;
        z.push_back(r.z);
        line.assign(r.xText).append(",").append(r.yText).append(",").append(r.zText);
        out.line(line);
    });
    out.commit();
    AreaValues v;
    v.count = static_cast<long>(z.size());
    if (z.empty()) return v;
    double sum = 0;
    for (double d : z) sum += d;
    v.mean = sum / static_cast<double>(z.size());
    if (z.size() > 1) {
        double squares = 0;
        for (double d : z) squares += (d - v.mean) * (d - v.mean);
        v.sd = std::sqrt(squares / static_cast<double>(z.size() - 1));
    }
    return v;
}

void ShowSquareArea(CurvControls& c) {
    if (c.Text5.empty()) return;
    const double side = text::Val(c.Text5);
    c.Label25 = text::Str(side * side);
}

StepOutcome Curv_Area(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] {
        for (int run = 1;; ++run) {
            const StepOutcome out = measure(ctx, c);
            // The alternate sides belong to the square; an irregular outline is measured once.
            if (out != StepOutcome::Done || !c.chkAltValues || !c.optAreaSquare) return out;
            if (c.Text5 == c.txtAlt1) c.Text5 = c.txtAlt2;
            else if (c.Text5 == c.txtAlt2) c.Text5 = c.txtAlt1;
            if (run > 1 || c.Text5 != c.txtAlt2 || c.txtAlt1 == c.txtAlt2) return out;
        }
    });
}

} // namespace trelvik::toothfeatures
