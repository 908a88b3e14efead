#pragma once
// Plane fitting ("Digitise points for plane") and the plane through the occlusal vector
// ("Find occlusal vector") of the plane-fit window, as plain procedures.
//
// Plane fitting: the user digitises points on a map of the tooth grid G and saves them
// as the grid folder's "digit.dat". The heights of G at the first n points are taken
// (grid-height step, prefix "pl"), the first-order regression plane through them is
// gridded on G's own lattice as base & "plane.grd", and its formula line is written to
// base & "planeform.txt" (version 8 also keeps the report as base & "plane_report.txt").
// n: "All points" the number of digitised points, "3 points" 3, "Other:" the number in
// its box rounded (halves to even), which must lie between 3 and the number digitised;
// one that is no number of 3 or more, or more than a digitise file can hold, is refused
// before the digitise question.
// Optionally the higher of tooth and plane at every node goes to base & "top+plane.grd"
// and is plotted through the Surfer Functions window's PlotSurfer (a relief map).
//
// Occlusal-vector plane: the user digitises two cusp tips; their heights are taken
// (prefix "_ctp", n = 2); the facet plane is read from base & "planeform.txt"; the
// plane through the origin that holds the facet normal N and U (occlusalvector.h) is
// regressed from the three points (0,0,0), N, U written to base & "_ovplpts.dat", as
// base & "ovplane.grd", with its formula in base & "ovplaneform.txt" (version 8 report
// copy base & "ovplane_report.txt"). Identical tips are reported before their heights
// are asked for; a tip line parallel to N and a vertical plane before the regression.
//
// User errors are shown through the prompt and end the procedure (the normal pointer
// restored): no grid chosen ("Filename": "Choose grid filename"), a point count out of
// range ("Values"), Cancel at the digitise prompt (silently). A refused step (those,
// fitted points that stand on one line in plan, a point without a height, tips that give
// no plane, and a formula step that fails: a "Surfer process identifier" naming no
// running program, a report cell without a coefficient) leaves the files of an earlier
// run as they were: every file of the step, the heights and points the regression reads
// and its saved report ("Report1.txt") among them, is made under a working name, and
// all are put in place together once the formula is taken. The saved report and its
// copy (version 8) name the files the user knows, not their working names. Run-time
// failures throw trelvik::Error; no formula file is ever written from a text that is
// not a plane formula line.
#include "core/appstate.h"
#include "core/prompt.h"

#include <functional>
#include <memory>
#include <string>

namespace surfer { class Application; }

namespace trelvik::planes {

// The window's controls as the procedures read them, and what they write back.
struct PlaneFitForm {
    std::string Label1;     // folder of the chosen grid
    std::string Text1 = "*.grd";
    int PointOption = 1;    // 1 "All points", 2 "3 points", 3 "Other:"
    std::string Text2 = "4";
    bool chkIntersectionGrid = false;
    bool chkPlotIntersectionGrid = false;

    std::string Label4;        // number of digitised points
    std::string txtFormula;    // formula of the fitted plane
    std::string txtOVFormula;  // formula of the occlusal-vector plane
};

// Window state of the plane-fit window.
struct PlaneFitState {
    std::shared_ptr<surfer::Application> m_Surfer;
    std::string GridDir, GridBaseName, TopoGrid;
    long FitPointCount = 0;
};

// PlotSurfer(grid, 1) of the Surfer Functions window, provided by the window layer.
using PlotGridFn = std::function<void(const std::string& grid, int plotType)>;

struct PlaneFitContext {
    AppState& app;
    Prompt& prompt;
    PlaneFitState& state;
    PlotGridFn plot;
};

// Both return true when they ran to the end, false when stopped by a message or Cancel.
bool cmdPFit_Click(PlaneFitContext& ctx, PlaneFitForm& form);
bool cmdOccVect_Click(PlaneFitContext& ctx, PlaneFitForm& form);

// True when a file box holds no choice: empty, or its mask ("*.grd", any letter case).
bool isUnchosen(const std::string& text, const std::string& mask);
// GridDir, GridBaseName and TopoGrid from the form's folder and file name.
void SetPlaneFitGrid(PlaneFitState& state, const PlaneFitForm& form);

// The first steps of both buttons: refuse an unchosen grid ("Filename": "Choose grid
// filename"; false), set the grid's names, refuse a grid that is not there or cannot be
// read, run `readFirst` (the step's other inputs, read now so that their failures throw
// here), and only then attach the window's reference. So nobody digitises for a grid
// the step then turns down, and a refused step never opens the map window.
bool BeginPlaneFitStep(PlaneFitContext& ctx, const PlaneFitForm& form, const std::function<void()>& readFirst = {});

// The fit's point count for the window's option, or 0 when "Other:" is out of range.
long FitPointCountFor(int option, const std::string& otherText, long digitised);

} // namespace trelvik::planes
