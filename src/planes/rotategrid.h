#pragma once
// The procedures of the rotation window ("Rotate"): enter a grid, then rotate its points
// so that a plane becomes horizontal, or about the x and y axes, and grid them again.
//
// "Enter grid" (cmdEnterGrid_Click): attaches the window's reference (a new instance
//   with "Start new Surfer (v8)"); with "Define area of grid to blank" the user digitises
//   an outline, which is copied to base & "_tap.dat" and written as the closed blanking
//   file base & "_tap.bln" (print zones), and the grid is blanked outside it into
//   base & "_tab.grd"; the grid (blanked or not) is dumped as XYZ text to
//   base & "_tab.dat", and its node spacings are read (version 6 from the GridVolume
//   report sheet "volume.dat", version 8 from the grid-geometry scan) and shown with
//   their halves; the output name becomes base & "rxy.grd". A cancelled or failed Enter
//   leaves the window's state as it was before it (the earlier grid stays entered), and
//   its files: "_tap.dat", "_tap.bln", "_tab.grd" and "_tab.dat" are replaced only when
//   the Enter succeeds. An area that keeps no height of the grid (drawn wholly off the
//   tooth) is refused there, before any of them is written.
// Interval of the new grid: the entered spacings, their halves, or the two numbers typed
//   under "Other" (a value of 0 or below, or no number: "Choose x and y intervals for
//   new grid").
// "Rotate" by plane (cmdRotPlane_Click): the plane of the chosen formula file (first
//   line, tolerant reader) is made horizontal by the rotation to horizontal of its normal
//   (-A, -B, 1) (a level plane is the identity); the rotated points go to base &
//   "trs.dat" (kept) and are gridded as base & "trs.grd"; the two go in place together.
// "Rotate" about axes (RotXY_Click): x axis, then y axis, by the angles typed in degrees
//   (pi taken as 3.1415926535898); the turned points go to a scratch file in a private
//   temporary folder (print zones for the x axis alone, else comma-separated) and are
//   gridded as the entered grid's folder & the output name; the "trs.dat" kept by
//   "Rotate by plane" stays as it is. An angle text that is not a number (and so could
//   not stand in the file name built from it) is refused.
// User errors are messages through the prompt; run-time failures throw trelvik::Error
// (the window shows them). "Rotate" before "Enter grid" is an error.
#include "core/appstate.h"
#include "core/progress.h"
#include "core/prompt.h"

#include <memory>
#include <string>

namespace surfer { class Application; }

namespace trelvik::planes {

struct RotateForm {
    bool chkStartSurfer = false;
    std::string Label1;            // folder of the grid
    std::string Text1 = "*.grd";
    int IntervalOption = 1;        // 1 "Original grid", 2 "1/2 Orig grid", 3 "Other"
    std::string Text5 = "1", Text6 = "1";
    std::string Label5, Label7, Label12, Label13;  // spacings and their halves
    bool Check1 = true;            // "Define area of grid to blank"
    std::string Label2;            // folder of the plane formula file
    std::string Text2 = "*.txt";
    std::string Text3 = "*.grd";   // output grid of "Rotate x or y"
    bool chkXAxis = false, chkYAxis = false;
    std::string txtXAngle = "0", txtYAngle = "0";
};

struct RotateState {
    std::shared_ptr<surfer::Application> m_Surfer;
    std::string GridDir, GridBaseName, TopoGrid, RotGrid, RotPointFile, TrsPointFile;
    double OrigXSpacing = 0, OrigYSpacing = 0;
    double XInterval = 0, YInterval = 0;
    bool entered = false;
};

struct RotateContext {
    AppState& app;
    Prompt& prompt;
    RotateState& state;
    // Status of the rotate steps on the window's bar; Esc after the points are turned
    // stops before the regrid (trelvik::Stopped), with none of the step's files put in place.
    Progress& progress = noProgress();
};

bool cmdEnterGrid_Click(RotateContext& ctx, RotateForm& form);
bool cmdRotPlane_Click(RotateContext& ctx, RotateForm& form);
bool RotXY_Click(RotateContext& ctx, RotateForm& form);

// Sets XInterval and YInterval from the interval option; false (after the message) when
// "Other" holds a value of 0 or below.
bool ChooseIntervals(RotateContext& ctx, const RotateForm& form);

// The output name of "Rotate x or y" from the axes ticked and the angle texts as typed.
std::string RotXYOutputName(const std::string& gridBaseName, bool xAxis, bool yAxis, const std::string& xAngle,
                            const std::string& yAngle);

// The angle in degrees of a text that is wholly a number (blanks around it allowed);
// anything else throws trelvik::Error naming the axis.
double AngleFromText(const std::string& text, const std::string& axis);

} // namespace trelvik::planes
