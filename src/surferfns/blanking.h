#pragma once
// "Blank" of the "Surfer Functions" window: blanks every listed grid by outlines the
// user digitises on its map, or by blanking files saved earlier.
//
// Modes (option group of the "Digitise and blank area" frame):
//   Outside       keep the inside of one outline: S & "blnpts.bln" (flag 0) -> S & "b.grd"
//   Inside        blank the inside of one outline: the same files, flag 1
//   MultiInside   blank the inside of every area of a "-1"-separated digitise file (a
//                 "-1" after the last area ends it; an empty area elsewhere is refused):
//                 S & "blnmpts.bln" (one closed section per area, flag 1) -> S & "u.grd";
//                 with "Regrid and blank" the "u" grid is regridded on its own lattice
//                 from its unblanked nodes and blanked with the outline T & "blnpts.bln"
//                 into S & "ub.grd"
//   MultiTeeth    one grid per ticked tooth, cut along borders digitised between
//                 neighbouring teeth: S & "-s" & code & "blnpts.bln" -> S & "-s" & code &
//                 "b.grd"; the border copy is S & "-s" & all codes & "bordblnmpts.dat"
// S is the entry's folder and base name; T is S less d trailing characters, d typed in
// "Del. no. char." ("Use existing bln file" takes T's files instead of digitising).
// Blanking files are written in the zone layout, CR LF. Version 6 issues GridBlank,
// GridConvert and GridData by position, version 8 by name.
//
// Reported, and that entry left out, the batch going on: d negative or larger than the
// base name, and a border file holding too few (or empty) borders for the ticked teeth,
// or a border of one point.
// No tooth ticked in MultiTeeth mode: a message and nothing runs. A listed grid missing
// from disk is named before any question or copy, nothing is written, list kept. Cancel
// at a "Digitise map" prompt ends the batch, list kept. A missing earlier blanking file
// ends the batch with "Check that blanking file ..." naming the file looked for (list
// kept), one the reader refuses with the reader's message; every entry's is judged before
// the map window opens. The regridding of "Regrid and
// blank" works on scratch files in a private folder, never beside the grid. The user's digitise file
// ends the batch under "Filename" when it cannot be read, holds an area of fewer than
// three points, or holds more than one area in Outside or Inside (which blank by one
// outline; "-1" lines that separate nothing are passed over there). A blanked grid left
// without a node with a height (an outline round the whole grid, or off the crown) is
// refused naming the grid, and the batch ends with the list kept. Every file of an
// entry is written under a working name and put in place only once its grid calls have
// succeeded, so a refusal or a failed call leaves the files of an earlier run as they
// were. Other failures end the batch with their message; earlier outputs stay.
#include "surferfns/surffnsstate.h"

#include <array>
#include <string>
#include <vector>

namespace trelvik::surffns {

enum class BlankMode { Outside, Inside, MultiInside, MultiTeeth };

// Captions of chkTeeth(0..11), and the codes the file names use ("c" is coded "c1").
inline constexpr std::array<const char*, 12> kToothCaptions = {"i1", "i2", "i3", "c",  "p1", "p2",
                                                               "p3", "p4", "m1", "m2", "m3", "m4"};
inline constexpr std::array<const char*, 12> kToothCodes = {"i1", "i2", "i3", "c1", "p1", "p2",
                                                            "p3", "p4", "m1", "m2", "m3", "m4"};

struct BlankOptions {
    BlankMode mode = BlankMode::Outside;  // optBlankOutside / Inside / MultiInside / MultiTeeth
    std::array<bool, 12> chkTeeth = {false, false, false, false, false, false,
                                     false, false, true,  true,  true,  false};
    bool chkMultiBlankRegrid = false;  // "Regrid and blank"
    bool chkBlankUseBlnFile = false;   // "Use existing bln file"
    std::string txtBlankDelChar = "4";
};

// The codes of the ticked teeth, anterior to posterior.
std::vector<std::string> TickedToothCodes(const std::array<bool, 12>& ticked);

// The per-tooth grids the run wrote (ToothGridName 1..ToothGridCount), in order.
struct BlankRunResult {
    BatchOutcome outcome = BatchOutcome::Completed;
    std::vector<std::string> ToothGridName;
};

BlankRunResult cmdBlank(SurfFnsContext& ctx, const BlankOptions& options);

// Why a blanking file saved earlier cannot be taken: "Check that <what> (file no.
// <entry>) <path> is in correct directory." when nothing is at its name, the reader's own
// message when the reader would refuse what is there (a folder, a pipe, another user's
// link); empty when it can be read. Blank and Regrid both look for such files, every
// entry's before the map window opens, and a refusal ends the batch (RefuseBlankingFile),
// the list kept for another try once the file is right.
std::string BlankingFileRefusal(int entry, const std::string& path, const std::string& what = "blanking file");
EntryResult RefuseBlankingFile(SurfFnsContext& ctx, const std::string& refusal);

} // namespace trelvik::surffns
