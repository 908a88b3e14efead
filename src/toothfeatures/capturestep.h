#pragma once
// The two measuring steps of the capture-area window.
//
// "Delimit top of capture area" (cmdDigCBound): three top points in the grid's
//   coordinates. Tribo-type: the user digitises the anterior and posterior end of the
//   cusp area and the cusp tip into "digit1.dat"; their heights come from the grid
//   (grid-height step, prefix "_CPlp": S & "_CPlp.dat", "_CPlp0.dat" deleted,
//   "_CPlpz.dat"). Carnassial: the two cusp tips of the occlusal-vector step and the
//   first tip moved by the plane normal; no file, no call.
// "Digitise crest" (cmdDigCrestLength): the user digitises the crest into "digit2.dat";
//   the grid is sliced along it (crestline.h); every slice point with a height is
//   turned into the occlusal frame (S & "_crsltrz.dat", write form), so are the three
//   top points (S & "_CPlpt.dat", the third raised by 0.0001 so that the three are never
//   level by accident); the mapping program fits the plane through them (GridData,
//   polynomial regression of order 1, a 10 x 10 grid S & "_CPlpt.grd" over the turned
//   crest's extents widened by a margin of 200, or 10 when the greatest x' is 200 or
//   less). Its formula goes to S & "planeform.txt" (version 8 from report cells B170,
//   B171, B172 as C, B, A, by way of GridDir & "Report.txt" and its copy S &
//   "_report.txt"; version 6 from the clipboard), and only from a valid plane formula.
//   Each crest point is projected along the occlusal axis onto the plane (grid-height
//   step at the turned points, prefix "_crsltrpp", comma-separated zero file kept,
//   heights in S & "_crsltrppZ.dat"), and the band between crest and plane is summed
//   (capturearea.h) into S & "_capresults.csv".
// S is GridDir & GridBaseName & CrestCode. Blank slice points are left out of the
// projection and the areas; no segment bridges them. Reported, the window staying
// usable: no crest or cusp name chosen, no occlusal vector, no top delimited on this
// grid (a top taken on the grid before does not count), a missing or short digitise
// file, a crest without any slice point on the grid's data, top points in one line seen
// along the occlusal vector (said before anything is written), a plane formula that
// cannot be read, a report that cannot be saved (no program of the process identifier
// given), a failed mapping-program call. A refused crest leaves the earlier crest's
// slice files, turned crest, turned top points, plane grid, reports, plane formula,
// projection and results as they were: they are made under working names and put in
// place together. Cancel writes nothing. A crest that leaves the grid's data is
// measured over the slice points with a height, and the window's status line says how
// many of how many those were.
#include "toothfeatures/occvectstep.h"

#include <array>
#include <string>
#include <optional>
#include <utility>

namespace trelvik::toothfeatures {

// The three top points in the grid's coordinates, and the grid they were taken on: a top
// belongs to its tooth, so the crest step of another grid never measures against it.
struct CaptureTop : std::array<PointXYZ, 3> {
    std::string grid;  // GridFullPath of the occlusal-vector step the top was delimited after
};

struct CaptureRequest {
    ToothKind kind = ToothKind::Tribo;
    std::string Combo1Text;
    std::string CrestCode;
};

// True when the top was set.
bool cmdDigCBound(AppState& app, Prompt& prompt, const CaptureRequest& request, const OcclusalState& state,
                  std::optional<CaptureTop>& CaptureTopPoints);

// True when the results were written; `measured`, when given, then holds how many of the
// crest's slice points had a height (and were measured) and how many the slice held.
bool cmdDigCrestLengthCapture(AppState& app, Prompt& prompt, const CaptureRequest& request,
                              const OcclusalState& state, const std::optional<CaptureTop>& CaptureTopPoints,
                              std::pair<long, long>* measured = nullptr);

// What the status line adds after a crest measured only in part ("Measured 25 of the
// crest's 49 slice points: ..."); empty when every slice point was measured.
std::string partialCrestNote(const std::pair<long, long>& measured);

} // namespace trelvik::toothfeatures
