#pragma once
// Joining and tip calibration of point files.
//
// "Join files": every line of every listed file, in list order and unchanged, each ended
//   CR LF, into FileStem(1) & "_jnd" & FileExt(1). With "Re-zero x,y,z after joined" the
//   joined points are moved so that their smallest x, y and z are 0 (each coordinate
//   rounded to 6 decimals, halves to even) and written as "x,y,z" lines to FileStem(1) &
//   "_jndr" & FileExt(1) instead. Fewer than two listed files: a message says so. The
//   joined text is built straight into the output's own temporary file, so no fixed
//   work-file name can meet an input.
// "Adjust for tip calibration": every point of each listed file moved by (dx, dy, dz),
//   the typed offsets, into FileStem & "tipcal" & FileExt. All offsets 0: a message
//   says that nothing changes, nothing is written and the list stays. The tip combo
//   fills the offsets of the tips "t0", "t5" and "t8".
// Outputs are recorded in FileOutName; the list is cleared when a command completes.
#include "core/points.h"
#include "pointclouds/ptcloudlist.h"

#include <array>
#include <optional>
#include <string>

namespace trelvik::ptcloud {

// The smallest x, y, z moved to 0, rounded to 6 decimals.
PointList ReZero(const PointList& points);

struct JoinOptions {
    bool chkReZero = true;
};
bool cmdJoinFiles(PtCloudContext& ctx, const JoinOptions& options);

// Items of the "Tip" combo, in order.
inline constexpr std::array<const char*, 13> kTipItems = {"t0", "t5", "t8", "t1", "t2", "t3", "t4",
                                                          "t6", "t7", "t9", "t10", "t11", "t12"};
// The offsets (x, y, z texts) of a tip of known calibration; nothing for another tip.
std::optional<std::array<const char*, 3>> TipOffsets(const std::string& tip);

struct TipCalOptions {
    std::string txtTipCalX = "0.000", txtTipCalY = "0.000", txtTipCalZ = "0.000";
};
bool cmdTipCal(PtCloudContext& ctx, const TipCalOptions& options);

} // namespace trelvik::ptcloud
