// "Find occlusal vector" of the plane-fit window: the plane through the facet normal
// and the line between two cusp tips (see planefit.h).
#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/digitisefile.h"
#include "planes/gridheights.h"
#include "planes/occlusalvector.h"
#include "planes/planefit.h"
#include "planes/landfindslice.h"
#include "planes/planefitgrid.h"
#include "planes/planeformula.h"

namespace trelvik::planes {

bool cmdOccVect_Click(PlaneFitContext& ctx, PlaneFitForm& form) {
    BusyScope busy(ctx.prompt);
    PlaneFitState& s = ctx.state;
    // The facet plane comes first, before the map window opens: without it the tips would
    // be digitised for nothing.
    PlaneCoefficients facet;
    const auto readFacet = [&] { facet = ReadPlaneFormulaFile(s.GridDir + s.GridBaseName + "planeform.txt"); };
    if (!BeginPlaneFitStep(ctx, form, readFacet)) return false;
    const std::string base = s.GridDir + s.GridBaseName;

    GridHeightStep step;
    step.digitiseFile = s.GridDir + "digit.dat";
    if (!askDigitise(ctx.prompt, "Use 'Digitise' to define two cusp tips.", step.digitiseFile)) return false;

    step.grid = s.TopoGrid;
    step.stem = base;
    step.prefix = "_ctp";
    step.count = 2;
    step.form = residualsCallForm(ctx.app.SurferVersion);
    // Two tips at one place give no tip line: said before the heights are asked for.
    const formats::PointXYList digitised = DigitisedPoints(step);
    if (digitised.size() >= 2 && digitised[0] == digitised[1])
        throw Error("The two cusp tips in " + step.digitiseFile + " are the same point (" + text::CStr(digitised[0].x) +
                    ", " + text::CStr(digitised[0].y) + "): they give no direction. Digitise two different tips.");
    MeasuredHeights tips = MeasureGridHeights(*s.m_Surfer, step);
    // The tips' files are kept only for a tip line that gives a plane.
    const OcclusalVectorPlane o = MakeOcclusalVectorPlane(facet, tips.points()[0], tips.points()[1]);
    // The step's other files wait with the tips' under working names, and all go in place
    // together once the formula is taken.
    StagedFiles& staged = tips.files();
    const std::string& points = staged.work(base + "_ovplpts.dat");
    AtomicTextWriter w(points);
    w.line(text::PrintLine().num(0).num(0).num(0).str());
    w.line(text::PrintLine().num(o.N.x()).num(o.N.y()).num(o.N.z()).str());
    w.line(text::PrintLine().num(o.U.x()).num(o.U.y()).num(o.U.z()).str());
    w.commit();

    const std::string planeGrid = base + "ovplane.grd";
    const PlaneToolLattice lattice = ReadPlaneToolGeometry(ctx.app, *s.m_Surfer, s.TopoGrid, s.GridDir);
    RegressionPlaneGrid(ctx.app, *s.m_Surfer, points, lattice, staged.work(planeGrid));
    const std::string formula =
        RegressionFormulaText(ctx.app, *s.m_Surfer, s.GridDir, base + "ovplane_report.txt", &staged);
    const std::string formulaFile = base + "ovplaneform.txt";
    WritePlaneFormulaText(formulaFile, formula, staged.work(formulaFile));
    tips.commit();
    form.txtOVFormula = formula;
    return true;
}

} // namespace trelvik::planes
