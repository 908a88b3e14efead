#pragma once
// The tail every point-to-grid entry shares (pointstogrid.h): mould turn, undercut
// removal, blanking outline, GridData into stem + OutNameTag + ".grd" and GridBlank
// into the grid's stem + "b.grd".
#include "conversion/convstate.h"
#include "core/points.h"

#include <string>
#include <vector>

namespace trelvik::conversion {

struct TailSettings {
    GridOption geometry = GridOption::Interval;  // MaxNoRows, or the interval rule otherwise
    bool pointsInFile = true;      // the entry's FileFullName holds exactly these points, plain
    bool surfaceDefaults = false;  // default outline: bins of 6 x interval, offset 0.1
    // The entry's own point text (an STL's distinct vertices, a surface's converted
    // vertices) that the entry is already pointed to: written with the points as handed
    // over, together with the entry's other files once every check has passed.
    std::string pointText;
};

// Entry i (FileIndex) with its points as read. Throws trelvik::Error naming the file.
void CleanAndGrid(ConvContext& ctx, int i, PointList pts, const TailSettings& settings);

// The files CleanAndGrid writes for points named by `stem` (the entry's stem once its
// own point text is written) under the options `o` as the entry sees them, with `tag`
// the run's OutNameTag: undercut kept and rejected points, outline, outline info and
// fill points, the grid and the blanked grid, and the grid an outline that gives up
// makes of the points without fill points. Each branch writes some of these.
std::vector<std::string> TailOutputs(ConvOptions o, std::string stem, const std::string& tag);

// After a grid list: the plot pass over the completed entries, the labels emptied and
// the list cleared.
void EndGridList(ConvContext& ctx, const std::vector<int>& done);

} // namespace trelvik::conversion
