#include "planes/planefit.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "core/digitiseinputs.h"
#include "formats/surfergrid.h"
#include "planes/gridheights.h"
#include "planes/landfindslice.h"
#include "planes/planefitgrid.h"
#include "planes/planeformula.h"

#include <algorithm>
#include <cmath>
#include <cctype>

namespace trelvik::planes {

bool isUnchosen(const std::string& text, const std::string& mask) {
    const std::string t = text::Trim(text);
    if (t.empty()) return true;
    if (t.size() != mask.size()) return false;
    return std::equal(t.begin(), t.end(), mask.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

void SetPlaneFitGrid(PlaneFitState& state, const PlaneFitForm& form) {
    state.GridDir = folderWithSeparator(form.Label1);
    state.GridBaseName = form.Text1.size() > 4 ? form.Text1.substr(0, form.Text1.size() - 4) : std::string();
    state.TopoGrid = state.GridDir + form.Text1;
}

namespace {
// The "Other:" box as a count, rounded as CInt rounds; kept a double, so that a number
// too large for any count is refused as out of range rather than as an overflow.
double otherCount(const std::string& otherText) { return text::Round(text::Val(otherText), 0); }

// The most points a digitise file can hold: its reader takes at most kLargestInput bytes,
// and the shortest line that holds a point ("1,1" and its line end) is four bytes.
constexpr long kMostDigitisedPoints = static_cast<long>((kLargestInput + 1) / 4);
} // namespace

long FitPointCountFor(int option, const std::string& otherText, long digitised) {
    double n = static_cast<double>(digitised);
    if (option == 2) n = 3;
    else if (option == 3) n = otherCount(otherText);
    if (!(n >= 3 && n <= static_cast<double>(digitised))) return 0;
    return static_cast<long>(n);
}

namespace {
// The regression takes z over x and y: the first n points must not all stand on one line
// in plan, or the heights would be taken and kept for a fit that cannot be made.
bool spanAPlane(const formats::PointXYList& p, long n) {
    const std::size_t count = std::min(p.size(), static_cast<std::size_t>(std::max(n, 0L)));
    if (count < 3) return false;
    std::size_t far = 0;
    double reach = 0;
    for (std::size_t k = 1; k < count; ++k) {
        const double d = std::hypot(p[k].x - p[0].x, p[k].y - p[0].y);
        if (d > reach) {
            reach = d;
            far = k;
        }
    }
    const double ux = p[far].x - p[0].x, uy = p[far].y - p[0].y;
    for (std::size_t k = 1; k < count; ++k)
        if (std::fabs(ux * (p[k].y - p[0].y) - uy * (p[k].x - p[0].x)) > 1e-9 * reach * reach) return true;
    return false;
}
} // namespace

bool BeginPlaneFitStep(PlaneFitContext& ctx, const PlaneFitForm& form, const std::function<void()>& readFirst) {
    if (isUnchosen(form.Text1, "*.grd")) return refuse(ctx.prompt, "Filename", "Choose grid filename");
    SetPlaneFitGrid(ctx.state, form);
    if (!inputsPresent(ctx.prompt, {{ctx.state.TopoGrid, "grid", "choose a grid in the file list."}})) return false;
    // Read before the digitise question: a grid that cannot be read is refused, with the
    // reader's message naming it, before the user digitises on its map.
    formats::readSurferGrid(ctx.state.TopoGrid);
    if (readFirst) readFirst();
    // Attached only once nothing is missing: attaching shows the map window, which a
    // refusal would leave in front with the focus.
    ctx.state.m_Surfer = AttachSurfer(ctx.app);
    return true;
}

bool cmdPFit_Click(PlaneFitContext& ctx, PlaneFitForm& form) {
    BusyScope busy(ctx.prompt);
    PlaneFitState& s = ctx.state;
    // A count that can never be taken is said before the map window and the question,
    // not once the points are digitised for nothing: above what a digitise file can hold
    // too, in the words said of a count above the points digitised.
    if (form.PointOption == 3 && !(otherCount(form.Text2) >= 3))
        return refuse(ctx.prompt, "Values", "Number of points must be a whole number of 3 or more");
    if (form.PointOption == 3 && otherCount(form.Text2) > kMostDigitisedPoints)
        return refuse(ctx.prompt, "Values",
                      "Number of points must lie between 3 and " + std::to_string(kMostDigitisedPoints));
    if (!BeginPlaneFitStep(ctx, form)) return false;
    const std::string digit = s.GridDir + "digit.dat";
    if (!askDigitise(ctx.prompt, "Use 'Digitise' to define points to fit plane.", digit)) return false;

    const std::string base = s.GridDir + s.GridBaseName;
    const std::string planeGrid = base + "plane.grd";

    GridHeightStep step;
    step.grid = s.TopoGrid;
    step.digitiseFile = digit;
    step.stem = base;
    step.prefix = "pl";
    step.form = residualsCallForm(ctx.app.SurferVersion);
    form.Label4.clear();  // the count of an earlier file must not stand for a refused one
    const formats::PointXYList points = DigitisedPoints(step);
    const long digitised = static_cast<long>(points.size());
    form.Label4 = std::to_string(digitised);

    s.FitPointCount = FitPointCountFor(form.PointOption, form.Text2, digitised);
    if (s.FitPointCount == 0)
        return refuse(ctx.prompt, "Values",
                      digitised < 3 ? "A plane needs at least 3 points; " + std::to_string(digitised) + " were digitised"
                                    : "Number of points must lie between 3 and " + std::to_string(digitised));
    step.count = s.FitPointCount;
    if (!spanAPlane(points, s.FitPointCount))
        throw Error("The " + std::to_string(s.FitPointCount) + " points fitted from " + digit +
                    " lie on one line: they give no plane. Digitise points around the area to fit.");
    // Every file of the fit waits under a working name with the heights, and all go in
    // place together once the formula is taken.
    MeasuredHeights heights = MeasureGridHeights(*s.m_Surfer, step);
    StagedFiles& fit = heights.files();
    const PlaneToolLattice lattice = ReadPlaneToolGeometry(ctx.app, *s.m_Surfer, s.TopoGrid, s.GridDir);
    RegressionPlaneGrid(ctx.app, *s.m_Surfer, fit.work(step.heightFile()), lattice, fit.work(planeGrid));
    const std::string formula =
        RegressionFormulaText(ctx.app, *s.m_Surfer, s.GridDir, base + "plane_report.txt", &fit);
    const std::string formulaFile = base + "planeform.txt";
    WritePlaneFormulaText(formulaFile, formula, fit.work(formulaFile));
    if (form.chkIntersectionGrid)
        IntersectionGrid(ctx.app, *s.m_Surfer, s.TopoGrid, fit.work(planeGrid), fit.work(base + "top+plane.grd"));
    heights.commit();
    form.txtFormula = formula;
    if (form.chkIntersectionGrid && form.chkPlotIntersectionGrid && ctx.plot) ctx.plot(base + "top+plane.grd", 1);
    return true;
}

} // namespace trelvik::planes
