#pragma once
// "Remove undercuts" and "Create blanking file" of the point-cloud window: the shared
// cleaning core (conversion/undercutremoval.h, conversion/blankingoutline.h) run on
// every listed point file, with the window's options, file names and messages.
//
// Remove undercuts, per file (F = FileStem, E = FileExt, R = the last three characters
// of the radius box, m = "m" for a mould scan):
//   kept points      F & T & "_" & R & m & E       (also FileOutName)
//   rejected points  F & T & "_" & R & m & "_rej" & E   when "Write rejected points"
//   T = "-ucp" & last three of the proportion box when the proportion rule is selected,
//   else "-uct" & last three of the threshold box (read after judging, so that under
//   default settings it carries the threshold written there).
//   Default settings: bin size = radius (written into the bin-size box as a plain
//   number) and the threshold rule with t = Round(4 r, 3) (written as "0.000").
//   Both files list the points in bin order, as "x,y,z" lines.
//   "Always find neighbour" never acts: every point lies in its own search square, so a
//   search always finds one; a radius or bin size that is not above 0 is refused first.
// Create blanking file, per file:
//   F & "pblnpts.bln"  the traced outline as one closed section, flag 0 ("n+1,0", the n
//                     outline points, the first again; comma layout);
//   F & "p" & E       with "Create points file with points in blanked area": every
//                     point as read, then the centre of every empty bin at the lowest z
//                     (also FileOutName).
//   An outline that fails (E003 too many outline points, E004 too many dead ends) or a
//   cloud whose points all lie at one place is reported and that file left out; the
//   batch goes on. Mould scans are turned over (x and z negated) for both commands.
#include "pointclouds/ptcloudlist.h"

#include <string>

namespace trelvik::ptcloud {

struct UndercutWindowOptions {
    bool chkDefaultSet = true;
    std::string txtSearchRadius = "0.020";
    std::string txtBinSize = "0.030";
    bool optThresh = true, optProp = false;
    std::string txtThresh = "0.05";
    std::string txtProp = "0.9";
    bool chkFindNeigh = true;
    std::string txtSearchRadiusInc = "0.25";
    bool chkWriteRej = true;
    bool chkMould = false;
};

// Runs the batch; under default settings it writes the bin size and threshold it used
// back into `options` (the window shows them).
bool cmdRemoveUndercuts(PtCloudContext& ctx, UndercutWindowOptions& options);

// The last three characters of a text (the whole text when shorter).
std::string Last3(const std::string& s);

struct OutlineWindowOptions {
    bool chkBlankedAreaPts = true;
    std::string txtBlnBinSize = "0.1";
    bool chkMould = false;
};

bool cmdCreateBlankingFile(PtCloudContext& ctx, const OutlineWindowOptions& options);

} // namespace trelvik::ptcloud
