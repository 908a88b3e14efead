#pragma once
// The crest slice that the approach-angle and capture-area steps share: the digitised
// crest line copied to S & "_crp.dat", written as the open slice line S & "_crp.bln"
// (header with the point count and 0, the points in print zones) and sliced by the
// mapping program into S & "_crsl.dat" (version 6 by position: grid, line, omitted,
// output; version 8 InGrid, BlankFile, OutDataFile).
// The three files are written under their working names in `staged`: the step puts them
// in place (commit) only once it has checked the slice, so a refused crest leaves the
// earlier crest's files.
// A missing digitise file, one with fewer than two points, a failed slice or an
// unreadable slice file throws trelvik::Error naming it.
#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "formats/slicefile.h"

#include <string>
#include <vector>

namespace surfer { class Application; }

namespace trelvik::toothfeatures {

struct CrestSliceFiles {
    std::string copy, line, slice;  // S & "_crp.dat", "_crp.bln", "_crsl.dat"
};
CrestSliceFiles crestSliceFiles(const std::string& stem);

std::vector<formats::SlicePoint> sliceCrest(const AppState& app, surfer::Application& s, const std::string& grid,
                                            const std::string& digitiseFile, const CrestSliceFiles& files,
                                            StagedFiles& staged);

} // namespace trelvik::toothfeatures
