#pragma once
// Enamel outlines for the contact-analysis program: the steps of the "Enamel Outlines"
// window.
//
//  cmdInputTopo    the tooth grid: GridFolder, GridBaseName (the name less its last four
//                  characters), TopoGrid. Once per opening of the window: pressed again,
//                  it names the grid in use and says that Exit and a new opening take
//                  another tooth.
//  cmdInputPlane   the basal plane: the first line of the chosen folder's GridBaseName &
//                  "planeform.txt" (PlaneFile), read through the shared plane formula
//                  reader; a missing one is named with the window that makes it (Plane
//                  fit). Once per opening, as the grid.
//  cmdDigOccVect   the occlusal vector: two points digitised into "digit.dat" beside the
//                  grid, their heights taken through the grid-height step with prefix
//                  "_ovp"; U = (P1 - P2) / |P1 - P2|. Identical points are an error.
//  cmdDigEnamOut   one closed outline per enamel segment ("digit" & i & ".dat"), copied
//                  to S & "S" & i & "_crp.dat", written as the closed line S & "S" & i &
//                  "_crp.bln" (zone layout) and sliced into S & "S" & i & "_crsl.dat"
//                  (S = GridFolder & GridBaseName). A segment whose slice holds no height
//                  (drawn wholly off the crown) is refused by its number, and its three
//                  files of an earlier run stay; one that crosses a blank part is taken.
//                  A run that ends early (Cancel at a prompt, Esc, a refused segment)
//                  leaves the window with the segments its folder then holds: the ones
//                  the run completed, then the earlier run's beyond them;
//                  SegmentsToTransform says which.
//  cmdTransform    every slice point with a height is turned by the rotation to
//                  horizontal of the plane's normal (-A, -B, 1), then about the vertical
//                  by theta = ArcCos(U'y / |U'xy|), negative when U'x > 0, which brings
//                  the turned occlusal vector U' onto +y; an upper tooth has y negated.
//                  Blank slice points are left out. Written (replaced): S & "Out.csv"
//                  (x, y) and S & "OutZ.csv" (x, y, z), bare numbers, each segment
//                  followed by the line "99999,".
// A topo grid that is not there is said before the digitise steps ask anything.
// Input messages go through the Prompt; failures throw trelvik::Error and leave the
// state and every earlier output as they were.
#include "core/appstate.h"
#include "core/points.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "planes/planeformula.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace surfer { class Application; }

namespace trelvik::planes {

struct EnamelState {
    std::shared_ptr<surfer::Application> m_Surfer;
    bool TopoLoaded = false, PlaneLoaded = false;
    std::string GridFolder, GridBaseName, TopoGrid;
    std::string PlaneFile;  // the plane formula file read
    double PlaneA = 0, PlaneB = 0, PlaneC = 0;
    std::optional<std::array<double, 3>> OcclusalUnitVector;
    int SegmentCount = 0;  // segments of the last outline run, as the folder holds them
    // Set when the last outline run ended early: the segments it completed (the first
    // ones of SegmentCount; the rest are an earlier run's).
    std::optional<int> EarlyEndDone;
    std::vector<long> OutlineCounts, SliceCounts;

    std::string stem() const;  // GridFolder joined with GridBaseName
};

bool cmdInputTopo(EnamelState& s, Prompt& prompt, const std::string& text7, const std::string& folder);

// The captions of lblXValue, lblYValue, lblCValue after the plane is read.
struct PlaneLabels {
    std::string x, y, c;
};
std::optional<PlaneLabels> cmdInputPlane(EnamelState& s, Prompt& prompt, const std::string& folder);

// What the window shows of the tooth in hand: "Grid in use: <grid name>", then
// "; plane from <formula file name>" once the plane is read; empty before the grid.
std::string GridsInUse(const EnamelState& s);

// Returns false when cancelled or refused.
bool cmdDigOccVect(EnamelState& s, AppState& app, Prompt& prompt);
// Progress: one step per segment; Esc before the next segment's prompt throws
// trelvik::Stopped with the segments completed so far kept, as Cancel does.
bool cmdDigEnamOut(EnamelState& s, AppState& app, Prompt& prompt, const std::string& txtNoSeg,
                   Progress& progress = noProgress());

// After an outline run that ended early, the segments the transform will write: "The
// outline run ended early: "Transform and write to file" will write segment 1 from this
// run and segments 2 and 3 kept from before." Empty after a run that completed, or when
// no segment is there.
std::string SegmentsToTransform(const EnamelState& s);
// The same after the transform, since "No. of enamel segments" shows this run's count
// only: "The outline run ended early: the outlines written hold segment 1 from this run
// and segments 2 and 3 kept from before."
std::string SegmentsTransformed(const EnamelState& s);

enum class ToothSide { Unset, Upper, Lower };

// Returns the side used (asked for when unset), or nothing after a message.
std::optional<ToothSide> cmdTransform(EnamelState& s, Prompt& prompt, ToothSide side);

// The alignment of cmdTransform on points in memory: every point turned by the
// rotation to horizontal of the plane, then about the vertical so that the occlusal
// vector u points along +y, y negated for an upper tooth. u must not be perpendicular
// to the plane.
std::vector<PointList> AlignOutlines(const std::vector<PointList>& segments, const std::array<double, 3>& u,
                                     const PlaneCoefficients& plane, bool upper);

// The text of "Out.csv" (withZ false) or "OutZ.csv".
std::string OutlineFileText(const std::vector<PointList>& segments, bool withZ);

} // namespace trelvik::planes
