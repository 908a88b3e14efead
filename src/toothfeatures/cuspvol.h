#pragma once
// The cusp volume window's steps (frmCuspVol), as plain procedures over its controls.
//
// Measures the volume and positive surface area of one cusp of a tooth grid, level by
// level below the cusp tip, against the basal plane of the tooth:
//   Input_Top    the topographic grid Label1/Text7; with "Read TL file" the tooth length
//                from <stem>_tl.txt (interval size = length / "Divide TL by", rounded to
//                3 decimals); with "Read plane file automat." the plane grid
//                <stem>[opt]plane.grd and its formula <stem>[opt]planeform.txt. An
//                unticked box clears what an earlier tooth left, so a cusp is never
//                measured against another tooth's plane or length. The cusp blanked
//                before goes, with Min, Max, "Max to use" and both status labels.
//   Input_Plane  the plane grid chosen in the list (a name ending in "plane.grd") and
//                the formula file beside it. Another plane than before drops the blanked
//                cusp: its tip height was measured above the old plane.
//   Blank_Grid   asks for the cusp outline (digit.dat), copies it to <stem><cusp>points.dat,
//                writes the closed outline <stem><cusp>points.bln, has the mapping program
//                blank the grid outside it (<stem><cusp>b.grd) and subtract the plane
//                (<stem><cusp>btmp.grd); the least and greatest height above the plane go
//                to Min, Max and "Max to use" (version 6 through the report sheet
//                Label1/volume.dat, version 8 through ReadGridGeometry).
//   Calculate    raises the plane grid to the levels k = 1 .. N + 1 of cuspvollevels.h
//                (N as typed, from 0 to 100000; a fractional N ends at its whole part), has the
//                mapping program measure the blanked cusp above each (report cells (27,3)
//                and (40,3) with version 6; result elements 3 and 7 with version 8, no
//                report window) and writes <stem><cusp>-<TL>_cuspvolresults.csv. With
//                "Erase temp grids" the level grids live in a private temporary folder
//                and vanish afterwards; otherwise they stay as <stem><cusp>level<k>.grd,
//                put in place together with the table (Esc: the finished ones together).
// Blank_Grid and Calculate name their files by the cusp code: while the list shows a text
// that is not the name of that code (nametables.h) they refuse before asking or writing.
// Every step restores the normal pointer and reports a failure (missing file, number box
// that is not a number, failed call) in a message; a failed input step leaves the
// window's state as it was, and no step leaves a half-written file.
#include "core/appstate.h"
#include "core/progress.h"
#include "core/prompt.h"

#include <memory>
#include <string>
#include <vector>

namespace surfer { class Application; }

namespace trelvik::toothfeatures {

// The window's controls, texts as shown or typed.
struct CuspVolControls {
    std::string Label1;            // folder of the file list
    std::string Text7 = "*.grd";   // chosen grid
    bool chkInputTLFile = true;    // "Read TL file"
    std::string Text1 = "50";      // "Divide TL by"
    bool chkReadPlane = true;      // "Read plane file automat."
    bool chkPlaneOpt = true;       // "Optional text for plane file"
    std::string txtPlaneOpt = "ov";
    std::string Label3;            // "PlaneX": coefficient A as read
    std::string Label5;            // "PlaneY": coefficient B as read
    std::string Label7;            // tooth length as read, later the vertical step
    std::string Combo1;            // text of the cusp list
    std::string Label14;           // cusp code
    std::string Text5 = "25";      // "Interval size"
    std::string Text10 = "20";     // "No. of intervals"
    std::string lblDist = "500";   // "Distance"
    std::string Label6;            // "Min"
    std::string Label8;            // "Max"
    std::string Text8;             // "Max to use"
    std::string Label12;           // status of Blank_Grid
    std::string Label13;           // status of Calculate
    bool chkAutoCalc = true;       // "Automatically calculate"
    bool Check1 = true;            // "Erase temp grids"
};

// What the steps leave for each other.
struct CuspVolState {
    std::shared_ptr<surfer::Application> m_Surfer;
    std::string GridBaseName;
    std::string TopoStem;          // folder & separator & GridBaseName
    std::string TopoGrid;
    std::string PlaneGrid;
    std::string PlaneFormulaPath;
    std::string PlaneX, PlaneY;    // coefficients A and B as shown
    double ToothLength = 0;
    std::string CuspCode;
    std::string BlankedGrid;       // set by Blank_Grid; empty until a cusp is blanked
    std::string BlankedCusp;       // the cusp code BlankedGrid was made for
    std::string HeightGrid;
    std::vector<std::string> LevelGrids;
    double VertStep = 0;
};

struct CuspVolRun {
    AppState& app;
    Prompt& prompt;
    CuspVolControls& c;
    CuspVolState& s;
    // The levels of "Calculate" on the window's bar; Esc stops between two levels with
    // a note, the results table unwritten and the level grids made so far kept.
    Progress& progress = noProgress();
};

// "Input topo grid" and "Input plane grid"; true when the step completed.
bool Input_Top(CuspVolRun& run);
bool Input_Plane(CuspVolRun& run);

// A click on the cusp list: CuspCode from the list's text (an unknown text keeps it);
// Label14 shows it.
void Combo1_Click(CuspVolRun& run);

// "Distance": interval size times number of intervals, empty while either box is not a
// number.
std::string DistanceCaption(const std::string& intervalSize, const std::string& intervals);

// "Blank and analyse grids" (going on into Calculate when "Automatically calculate" is
// ticked) and "Calculate"; true when the step completed.
bool Blank_Grid(CuspVolRun& run);
bool Calculate(CuspVolRun& run);

// "Next cusp": clears the cusp, its tip height and status labels; grid, plane and tooth
// length stay.
void Next_Cusp(CuspVolRun& run);

} // namespace trelvik::toothfeatures
