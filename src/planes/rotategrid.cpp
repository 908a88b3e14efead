#include "planes/rotategrid.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/surfergrid.h"
#include "planes/occlusalvector.h"
#include "planes/planefit.h"
#include "planes/landfindslice.h"
#include "planes/planefitgrid.h"
#include "planes/planeformula.h"
#include "planes/rotatepoints.h"
#include "shell/gridgeometry.h"
#include "surfer/application.h"

#include <charconv>
#include <cmath>
#include <filesystem>

namespace trelvik::planes {

namespace {
constexpr double kPi = 3.1415926535898;

void requireEntered(const RotateState& s) {
    if (!s.entered || !s.m_Surfer) throw Error("Enter a grid first (\"Enter grid\" on the Filename tab).");
}

// Node spacings of the entered grid, as the version reads them.
void readSpacings(RotateContext& ctx) {
    RotateState& s = ctx.state;
    if (usesVersion6(ctx.app)) {
        const std::string path = s.GridDir + "volume.dat";
        s.m_Surfer->call("GridVolume", surfer::Positional{s.RotGrid, surfer::omitted, surfer::omitted, 0});
        s.m_Surfer->FileSaveAs(path);
        s.m_Surfer->FileClose();
        auto sheet = s.m_Surfer->FileOpen(path, 1);
        s.OrigXSpacing = text::Val(s.m_Surfer->GetWksCell(sheet, 5, 2));
        s.OrigYSpacing = text::Val(s.m_Surfer->GetWksCell(sheet, 6, 2));
        s.m_Surfer->FileClose();
    } else {
        ReadGridGeometryOfDump(ctx.app, s.RotGrid, s.RotPointFile);  // dumped just before
        s.OrigXSpacing = ctx.app.GridXSpacing;
        s.OrigYSpacing = ctx.app.GridYSpacing;
    }
}

} // namespace

std::string RotXYOutputName(const std::string& base, bool xAxis, bool yAxis, const std::string& xAngle,
                            const std::string& yAngle) {
    if (xAxis && yAxis) return base + "trs" + xAngle + "x" + yAngle + "y.grd";
    if (xAxis) return base + "trs" + xAngle + "x.grd";
    if (yAxis) return base + "trs" + yAngle + "y.grd";
    return base + "trsxy.grd";
}

double AngleFromText(const std::string& textIn, const std::string& axis) {
    const std::string t = text::Trim(textIn);
    double v = 0;
    const char* b = t.data();
    const char* e = b + t.size();
    if (b != e && *b == '+') ++b;
    const bool digitFirst = b != e && (std::isdigit(static_cast<unsigned char>(*b)) || *b == '.' || *b == '-');
    auto r = digitFirst ? std::from_chars(b, e, v) : std::from_chars_result{b, std::errc::invalid_argument};
    if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v))
        throw Error("The " + axis + " axis angle \"" + textIn + "\" is not a number of degrees");
    return v;
}

bool ChooseIntervals(RotateContext& ctx, const RotateForm& form) {
    RotateState& s = ctx.state;
    if (form.IntervalOption == 3) {
        const double dx = text::Val(form.Text5), dy = text::Val(form.Text6);
        if (!(dx > 0) || !(dy > 0)) return refuse(ctx.prompt, "", "Choose x and y intervals for new grid");
        s.XInterval = dx;
        s.YInterval = dy;
    } else {
        const double f = form.IntervalOption == 2 ? 0.5 : 1.0;
        s.XInterval = s.OrigXSpacing * f;
        s.YInterval = s.OrigYSpacing * f;
    }
    return true;
}

bool cmdEnterGrid_Click(RotateContext& ctx, RotateForm& form) {
    BusyScope busy(ctx.prompt);
    RotateState& s = ctx.state;
    // A cancelled or failed Enter leaves the grid entered before it whole: the names set
    // below must never be paired with the earlier grid's points and spacings.
    struct Restore {
        RotateState& state;
        RotateState before;
        bool done = false;
        ~Restore() {
            if (!done) state = std::move(before);
        }
    } restore{s, s};
    if (isUnchosen(form.Text1, "*.grd")) return refuse(ctx.prompt, "Filename", "Choose grid filename");
    s.GridDir = folderWithSeparator(form.Label1);
    s.GridBaseName = form.Text1.size() > 4 ? form.Text1.substr(0, form.Text1.size() - 4) : std::string();
    s.TopoGrid = s.GridDir + form.Text1;
    const std::string base = s.GridDir + s.GridBaseName;
    if (!FileExists(s.TopoGrid)) throw Error("Grid file not found: " + s.TopoGrid);
    // Attached only once nothing is missing: attaching shows the map window, which a
    // refusal would leave in front with the focus.
    s.m_Surfer = AttachSurfer(ctx.app, form.chkStartSurfer);
    const bool v6 = usesVersion6(ctx.app);

    // Every file of the Enter is made beside its place and put there only when the Enter
    // succeeds: an earlier entry of the same grid, which the window keeps after a failure
    // or a refusal, rotates the points of its own "_tab.dat", and its area stays with it.
    std::string rotGrid = s.TopoGrid;
    StagedFiles staged;
    if (form.Check1) {
        const std::string digit = s.GridDir + "digit.dat";
        if (!askDigitise(ctx.prompt, "Use 'Digitise' to define area of tooth to rotate.", digit)) return false;
        if (!FileExists(digit)) throw Error("Digitise file not found: " + digit);
        const std::string bytes = readWholeFile(digit);
        const auto outline = formats::readDigitisePoints(digit);  // errors name the user's file
        if (outline.size() < 3)
            throw Error(digit + " holds " + std::to_string(outline.size()) +
                        " points: an area needs at least 3");
        writeFileAtomic(staged.work(base + "_tap.dat"), bytes);
        const std::string& areaLine = staged.work(base + "_tap.bln");
        formats::writeBlnFile(areaLine, {formats::closedOutline(outline, 0)}, formats::BlnLayout::Zone);
        rotGrid = staged.work(base + "_tab.grd");
        if (v6) s.m_Surfer->call("GridBlank", surfer::Positional{s.TopoGrid, areaLine, rotGrid, 1});
        else
            s.m_Surfer->call("GridBlank", surfer::Named{{"InGrid", s.TopoGrid},
                                                        {"BlankFile", areaLine},
                                                        {"OutGrid", rotGrid}});
        if (!formats::readSurferGrid(rotGrid).hasHeight())
            throw Error("The area digitised in " + digit + " holds no height of " + s.TopoGrid +
                        ": it lies wholly off the tooth. Digitise the area to rotate over the crown.");
    }
    const std::string points = base + "_tab.dat";
    const std::string& dump = staged.work(points);
    if (v6) s.m_Surfer->call("GridConvert", surfer::Positional{rotGrid, dump, 3});
    else
        s.m_Surfer->call("GridConvert",
                         surfer::Named{{"InGrid", rotGrid}, {"OutGrid", dump}, {"OutFmt", 4}});
    s.RotGrid = rotGrid;
    s.RotPointFile = dump;
    readSpacings(ctx);
    staged.commit();
    if (form.Check1) s.RotGrid = base + "_tab.grd";
    s.RotPointFile = points;
    s.entered = true;
    restore.done = true;

    form.Label5 = text::CStr(s.OrigXSpacing);
    form.Label12 = text::CStr(s.OrigYSpacing);
    form.Label7 = text::CStr(s.OrigXSpacing / 2);
    form.Label13 = text::CStr(s.OrigYSpacing / 2);
    form.Text5 = "1";
    form.Text6 = "1";
    form.Text3 = s.GridBaseName + "rxy.grd";
    return true;
}

namespace {
// The regrid of the turned points, unless the user pressed Esc while they were turned;
// given the step's staged files, the grid is made under its working name.
void regridUnlessStopped(RotateContext& ctx, const std::string& points, const PointExtents& e,
                         const std::string& outGrid, StagedFiles* staged = nullptr) {
    RotateState& s = ctx.state;
    if (ctx.progress.stopRequested())
        throw Stopped("The rotation was stopped (Esc) before gridding: " + outGrid + " was not written.");
    ctx.progress.status("Gridding the rotated points");
    if (!staged) return RegridRotatedPoints(ctx.app, *s.m_Surfer, points, e, s.XInterval, s.YInterval, outGrid);
    const std::string& out = staged->work(outGrid);
    staged->naming([&] { RegridRotatedPoints(ctx.app, *s.m_Surfer, points, e, s.XInterval, s.YInterval, out); });
}
} // namespace

bool cmdRotPlane_Click(RotateContext& ctx, RotateForm& form) {
    BusyScope busy(ctx.prompt);
    RotateState& s = ctx.state;
    if (!ChooseIntervals(ctx, form)) return false;
    if (isUnchosen(form.Text2, "*.txt")) return refuse(ctx.prompt, "Filename", "Choose plane formula filename");
    requireEntered(s);
    const PlaneCoefficients plane = ReadPlaneFormulaFile(folderWithSeparator(form.Label2) + form.Text2);
    const Mat3 r = RotationToHorizontal(plane);
    const std::string base = s.GridDir + s.GridBaseName;
    s.TrsPointFile = base + "trs.dat";
    RegridLatticeFor({1, 0, 0, 0, 0}, s.XInterval, s.YInterval);  // refuses bad intervals before any file
    ctx.progress.status("Rotating the points");
    // The turned points and their grid go in place together: a failure or Esc before the
    // grid is made leaves the earlier pair.
    StagedFiles staged;
    const std::string& points = staged.work(s.TrsPointFile);
    PointExtents e;
    staged.naming([&] { e = RotatePointFile(s.RotPointFile, points, r, PointLayout::Comma); });
    regridUnlessStopped(ctx, points, e, base + "trs.grd", &staged);
    staged.commit();
    return true;
}

bool RotXY_Click(RotateContext& ctx, RotateForm& form) {
    BusyScope busy(ctx.prompt);
    RotateState& s = ctx.state;
    if (!ChooseIntervals(ctx, form)) return false;
    if (!form.chkXAxis && !form.chkYAxis) return refuse(ctx.prompt, "", "Choose axis to rotate around");
    requireEntered(s);
    Mat3 r = Mat3::Identity();
    if (form.chkXAxis) r = RotationAboutX(AngleFromText(form.txtXAngle, "x") * kPi / 180) * r;
    if (form.chkYAxis) r = RotationAboutY(AngleFromText(form.txtYAngle, "y") * kPi / 180) * r;
    const std::string name = text::Trim(form.Text3);
    if (name.empty() || name.find_first_of("/\\:*?\"<>|") != std::string::npos)
        throw Error("The output grid name \"" + form.Text3 + "\" cannot be used as a file name");
    RegridLatticeFor({1, 0, 0, 0, 0}, s.XInterval, s.YInterval);
    const PointLayout layout = form.chkXAxis && !form.chkYAxis ? PointLayout::PrintZones : PointLayout::Comma;
    ctx.progress.status("Rotating the points");
    // The turned points are scratch: they go in a private temporary folder, so the
    // "trs.dat" that "Rotate by plane" keeps beside the grid is neither replaced nor removed.
    const PrivateTempFile turned;
    const PointExtents e = RotatePointFile(s.RotPointFile, turned.path(), r, layout);
    regridUnlessStopped(ctx, turned.path(), e, s.GridDir + name);
    return true;
}

} // namespace trelvik::planes
