#pragma once
// "Find rake angle" of the rake-angle window: the transformed grid (rakestep.h) is sliced
// along a line that leaves the crest at right angles, and the rake fits (rakefit.h) are
// written for each pass.
//
// The user digitises three points into "digit2.dat" beside the grid: a point on the
// crest, a second point along the crest and a point on the rake surface. For each pass,
// with stem = GridDir & GridBaseName and tag = CrestCode & crest info & "-" & letter &
// length text:
//   stem & "_rkpt" & tag & ".dat"   copy of digit2.dat
//   stem & "_rkpt" & tag & ".bln"   the slice line "2, 0", P1 and its far end, print zones
//   stem & "_rksl" & tag & ".dat"   the mapping program's slice of the transformed grid
//   stem & "_rksl" & tag & "_rakeresults.csv"  the rake table, replaced each run
// Crest info: "_" & txtCrestInfo ("Crest info 1"), "_" & cmbCrestInfo's text
// ("Crest info 2"), nothing ("None").
// Refused before anything is written: an empty crest list ("Choose crest name"), no
// transformed grid of the window's current grid yet (one made for the grid before does
// not count) or its file gone (said before the digitise question), boxes that are not
// numbers or give an interval or step count of 0 or below, fewer than three digitised points ("Digitise three points on map"), and a
// second point on the first. Every pass is sliced and fitted before any of its files
// is put in place: a crest point without a height (named with its place), a failed
// slice or a profile too short to fit ends the step with the earlier run's files as
// they were.
#include "toothfeatures/rakefit.h"
#include "toothfeatures/rakestep.h"

namespace trelvik::toothfeatures {

enum class CrestInfo { None, Info1, Info2 };

struct RakeSliceRequest {
    std::string Combo1Text;
    std::string CrestCode;
    RakeKind kind = RakeKind::Both;
    RakeBoxes boxes;
    CrestInfo info = CrestInfo::Info2;
    std::string txtCrestInfo = "1";
    std::string cmbCrestInfo = "notch";
};

// The files of one pass.
struct RakePassFiles {
    std::string copy, line, slice, results;
};
RakePassFiles rakePassFiles(const std::string& stem, const std::string& tag);

// True when every pass was written.
bool cmdSlice(AppState& app, Prompt& prompt, RakeState& state, const RakeSliceRequest& request);

} // namespace trelvik::toothfeatures
