#pragma once
// "SA and Vol" of the "Surfer Functions" window: the planar and surface areas above and
// below the plane z = 0 and the blanked planar area of every listed grid, one row per
// grid in the summary table GridDir(1) & "00SAallresults.csv".
//
// Method (version 8 only): GridVolume by name with Upper the grid, Lower the level 0,
//   the result array and no report; the row takes result elements 5 to 9.
// Table (results-table layout): header "File", "Positive_Planar_Area_[Cut]",
//   "Negative_Planar_Area_[Fill]", "Positive_Surface_Area_[Cut]",
//   "Negative_Surface_Area_[Fill]", "Blanked_Planar_Area"; each row the base name quoted
//   and the five numbers bare in the general form, CR LF. The table is begun anew at the
//   first grid (replacing an older one whole) and appended to for each further grid, so
//   a batch stopped part-way keeps its rows. Every row lands in the first grid's folder.
// Version 6: "This function is not available in Surfer v6." before the map window
//   opens, and nothing is written, the list kept. Nothing is plotted.
#include "surferfns/surffnsstate.h"

#include <string>

namespace trelvik::surffns {

inline constexpr const char* kSAVolTableName = "00SAallresults.csv";

std::string SAVolHeader();

BatchOutcome cmdSAVol(SurfFnsContext& ctx);

} // namespace trelvik::surffns
