#pragma once
// Crest slicing and curvature lengths ("2a. Slice curvature" of the "Curvature" window).
//
// Slice_Grids ("Slice and analyse grids"): the user digitises a crest as a line. With
//   S = TopoStem & CrestCode & txtCrestLength (chkCID ticked) or TopoStem &
//   txtCrestLength: digit.dat (in Label1) is copied to S & ".dat", written as an open
//   slice line S & ".bln" (zone layout), and the topographic and curvature grids are
//   sliced along it into S & "ts.dat" and S & "cs.dat". The slice points (x, y, height
//   and distance from the topographic slice, the curvature from the third value of the
//   curvature slice's same line) give the least and greatest curvature and a proposed
//   range of thresholds (ThresholdRange) shown in Label6, Label8, Text10, Text8, Label9.
//   Calculate follows when chkCalcSliceAuto is ticked. With chkAltValuesS the crest
//   length switches between txtAltS1 and txtAltS2, and a switch to txtAltS2 slices the
//   same crest once more under the second name (at most two runs).
// Calculate: for thresholds start - k step, k = 1 .. count (Text8, Text6, Text10), the
//   3-D length of the crest where the curvature reaches the threshold (CrestLength),
//   written with the summary (least, greatest, mean and SD of the curvature, the 3-D
//   length at the last threshold, the 2-D length of the line) to S &
//   "_curvslresults.csv", S being the stem of the slice computed.
//   Table: "Interval","Curvature","Length of surface with curvature above threshold";
//   rows "k",threshold,length; an empty line; "MinCurv","MaxCurv","MeanCurv","SDCurv",
//   "3DCrestLength","2DCrestLength"; the summary row.
// Next_Crest ("Next crest"): clears Label6, Label8, Label9, Text8, Label14 and CrestCode.
//
// Blank points (height or curvature of 1E+37 or more: the grid's edge, blanked nodes)
// take no part in the least, greatest, mean and SD, and a segment with a blank end adds
// no length. Refusals (message, nothing written): chkCID without a crest ("Choose crest
// name", "Crest name"); no topographic or curvature grid, or its file missing (said
// before the digitise question, with what to do); a step that is not a number above 0;
// fewer than two digitised points; for Calculate an empty or non-numeric start,
// count or step ("Error - Enter all values", "Values"; a start of 0 is valid), a count
// that is not from 1 to 100000 once taken to the nearest whole number (halves to even),
// no slice yet, fewer than two curvature values. The slice step makes its files under
// working names and puts them in place only once the crest crosses curvature values (two
// at least when Calculate follows) and the thresholds fit: a crest off the tooth leaves
// the last slice's files and state. When Calculate follows, its table goes in place
// together with the slice's files.
#include "toothfeatures/curvcontrols.h"
#include "toothfeatures/curvstate.h"

#include <vector>

namespace trelvik::toothfeatures {

struct ThresholdPlan {
    double top = 0;     // Int(max * 1000 + 1) / 1000: strictly above the greatest value
    double bottom = 0;  // Int(min * 1000) / 1000
    long count = 0;     // IntervalCount
    double lowest = 0;  // top - (count - 1) * step
};
// bottom and top as above; count = 1 + (top - bottom) / step rounded (halves to even),
// then raised while top - (count - 1) * step still lies above min. step must be > 0.
ThresholdPlan ThresholdRange(double curvMin, double curvMax, double step);

// The 3-D length of the polyline (x, y, z) over the segments whose two ends both carry a
// non-blank curvature of at least threshold (and a non-blank height).
double CrestLength(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                   const std::vector<double>& curv, double threshold);

StepOutcome Slice_Grids(CurvContext& ctx, CurvControls& c);
StepOutcome Calculate(CurvContext& ctx, CurvControls& c);
void Next_Crest(CurvContext& ctx, CurvControls& c);

// Label9 after a change of Text8, Text10 or Text6: start - (count - 1) * step when all
// three hold numbers and the step is not 0 (a start of 0 is a value like any other);
// otherwise Label9 stays.
void ShowLowestThreshold(CurvControls& c);

} // namespace trelvik::toothfeatures
