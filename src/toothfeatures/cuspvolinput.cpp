// The input steps of the cusp volume window: topographic grid, tooth length, plane grid
// and formula, cusp choice.
#include "toothfeatures/cuspvol.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "planes/planeformula.h"
#include "planes/toothlength.h"
#include "surfer/application.h"
#include "surferfns/surffnsstate.h"
#include "toothfeatures/cuspvollevels.h"
#include "toothfeatures/nametables.h"
#include "toothfeatures/stepservices.h"

#include <functional>

namespace trelvik::toothfeatures {

namespace {

constexpr std::string_view kPlaneSuffix = "plane.grd";

void attachSurfer(CuspVolRun& run, CuspVolState& s) { s.m_Surfer = toothfeatures::attachSurfer(run.app); }

// Reads the plane formula beside the plane grid into the new state and its labels.
void readPlane(CuspVolState& s, CuspVolControls& c, std::string planeGrid, std::string formulaPath)
{
    if (!FileExists(planeGrid))
        throw Error("The plane grid " + planeGrid + " does not exist.");
    const planes::PlaneCoefficients plane = planes::ReadPlaneFormulaFile(formulaPath);
    s.PlaneGrid = std::move(planeGrid);
    s.PlaneFormulaPath = std::move(formulaPath);
    s.PlaneX = text::CStr(plane.A);
    s.PlaneY = text::CStr(plane.B);
    c.Label3 = s.PlaneX;
    c.Label5 = s.PlaneY;
}

void clearPlane(CuspVolState& s, CuspVolControls& c)
{
    s.PlaneGrid.clear();
    s.PlaneFormulaPath.clear();
    s.PlaneX.clear();
    s.PlaneY.clear();
    c.Label3.clear();
    c.Label5.clear();
}

// The tip height of a blanked cusp is its height above the plane it was blanked with; a
// new plane needs the cusp blanked again before its levels can be measured.
void forgetBlankedCusp(CuspVolState& s, CuspVolControls& c)
{
    s.BlankedGrid.clear();
    s.BlankedCusp.clear();
    s.HeightGrid.clear();
    c.Label6.clear();
    c.Label8.clear();
    c.Text8.clear();
    c.Label12.clear();
}

// Runs a step on copies of the window state and keeps them only when it completes, so a
// failure half-way never pairs one tooth's grid with another tooth's plane or length.
bool transaction(CuspVolRun& run, const std::function<bool(CuspVolState&, CuspVolControls&)>& step)
{
    CuspVolState s = run.s;
    CuspVolControls c = run.c;
    // The window's state changes only when the whole step succeeds.
    if (!runGuarded(run.prompt, "", [&] { return step(s, c); }))
        return false;
    run.s = std::move(s);
    run.c = std::move(c);
    return true;
}

} // namespace

bool Input_Top(CuspVolRun& run)
{
    return transaction(run, [&](CuspVolState& s, CuspVolControls& c) {
        if (c.Text7 == "*.grd" || c.Text7.size() <= 4) {
            run.prompt.busy(false);
            run.prompt.message("", "Please choose grid filename");
            return false;
        }
        s.GridBaseName = c.Text7.substr(0, c.Text7.size() - 4);
        s.TopoStem = surffns::JoinFolder(c.Label1, s.GridBaseName);
        s.TopoGrid = surffns::JoinFolder(c.Label1, c.Text7);
        if (!FileExists(s.TopoGrid))
            throw Error("The topographic grid " + s.TopoGrid + " does not exist.");
        // A new grid: whatever was blanked and measured for the previous one no longer
        // applies, and boxes left showing it would invite a Calculate that is refused.
        forgetBlankedCusp(s, c);
        c.Label13.clear();

        if (c.chkInputTLFile) {
            const std::string lengthFile = s.TopoStem + "_tl.txt";
            if (!inputsPresent(run.prompt, {toothLengthInput(lengthFile, "Read TL file")}))
                return false;
            const planes::ToothLength tl = planes::readToothLengthFile(lengthFile);
            const auto divisor = numberIn(c.Text1);
            if (!divisor || *divisor == 0)
                throw Error("\"Divide TL by\" must be a number other than 0, not \"" + c.Text1 + "\".");
            c.Label7 = tl.text;
            s.ToothLength = tl.value;
            c.Text5 = text::CStr(text::Round(tl.value / *divisor, 3));
            c.lblDist = DistanceCaption(c.Text5, c.Text10);
        } else {
            s.ToothLength = 0;
            c.Label7.clear();
        }

        if (c.chkReadPlane) {
            const std::string opt = c.chkPlaneOpt ? c.txtPlaneOpt : std::string();
            readPlane(s, c, s.TopoStem + opt + std::string(kPlaneSuffix), s.TopoStem + opt + "planeform.txt");
            // Attached once the plane is read: attaching shows the map window, which a
            // refusal would leave in front with the focus.
            attachSurfer(run, s);
        } else {
            clearPlane(s, c);
        }
        return true;
    });
}

bool Input_Plane(CuspVolRun& run)
{
    return transaction(run, [&](CuspVolState& s, CuspVolControls& c) {
        const std::string& name = c.Text7;
        if (name.size() <= kPlaneSuffix.size() || name.compare(name.size() - kPlaneSuffix.size(),
                                                               kPlaneSuffix.size(), kPlaneSuffix) != 0) {
            run.prompt.busy(false);
            run.prompt.message("Filename", "Please choose the plane grid (a name ending in plane.grd)");
            return false;
        }
        const std::string stem = name.substr(0, name.size() - kPlaneSuffix.size());
        const std::string before = s.PlaneGrid;
        readPlane(s, c, surffns::JoinFolder(c.Label1, name), surffns::JoinFolder(c.Label1, stem + "planeform.txt"));
        // Attached once the plane is read: attaching shows the map window, which a
        // refusal would leave in front with the focus.
        attachSurfer(run, s);
        if (s.PlaneGrid != before) forgetBlankedCusp(s, c);
        return true;
    });
}

void Combo1_Click(CuspVolRun& run)
{
    run.c.Label14 = chooseName(cuspTable(), run.c.Combo1, run.s.CuspCode);
}

std::string DistanceCaption(const std::string& intervalSize, const std::string& intervals)
{
    const auto a = numberIn(intervalSize), b = numberIn(intervals);
    if (!a || !b)
        return {};
    return text::CStr(*a * *b);
}

void Next_Cusp(CuspVolRun& run)
{
    CuspVolControls& c = run.c;
    c.Label6.clear();
    c.Label8.clear();
    c.Text8.clear();
    c.Label12.clear();
    c.Label13.clear();
    c.Label14.clear();
    run.s.CuspCode.clear();
    // The next cusp needs its own outline before it can be calculated.
    run.s.BlankedGrid.clear();
    run.s.BlankedCusp.clear();
}

} // namespace trelvik::toothfeatures
