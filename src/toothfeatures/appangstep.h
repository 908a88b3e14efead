#pragma once
// "Digitise crest and translate" of the approach-angle window.
//
// After the window's occlusal-vector step: the user digitises the crest as a line on the
// grid's map and saves it as "digit1.dat" beside the grid. With S = GridDir &
// GridBaseName & CrestCode:
//   S & "_crp.dat"   copy of digit1.dat
//   S & "_crp.bln"   the slice line: header (n, 0) and the n points, print zones, open
//   S & "_crsl.dat"  the mapping program's slice of the grid along the line
//   S & "_crsltrs_aaresults.csv"  the approach-angle table (appang.h), replaced each run
// The four go in place together.
// Every slice point is turned into the occlusal frame before the measure is taken.
// Refused before the digitise question: no crest chosen ("Choose crest name"; "Next
// crest" empties the list), which would otherwise write files named by no crest, each
// run replacing the last.
// Reported, nothing written (the crest files of an earlier run stay): a crest line that leaves the grid's data
// (blank slice points; the message says where), too few slice points, neighbouring
// points at one place. A flat crest is written and then reported. Cancel writes
// nothing.
#include "toothfeatures/occvectstep.h"

namespace trelvik::toothfeatures {

// True when the results table was written. Combo1Text is the crest list's text.
bool cmdDigCrestLengthAppAng(AppState& app, Prompt& prompt, const OcclusalState& state,
                             const std::string& Combo1Text, const std::string& CrestCode);

// S & "_crsl.dat" less its last four characters, & "trs_aaresults.csv".
std::string approachAngleResultsPath(const std::string& sliceFile);

// The table a crest of this name measures into: with S = GridDir & GridBaseName & CrestCode.
std::string approachAngleResultsTable(const OcclusalState& state, const std::string& CrestCode);

// What the status line adds after a step that replaced a crest's table standing before
// it: a crest measured again under its name ends with the same line as the first time.
std::string replacedCrestNote(const std::string& resultsTable);

} // namespace trelvik::toothfeatures
