#pragma once
// Point files and tooth images written by the CSV viewer.
//
//  OutputCurrentGridCsv  "Output CSV": every cell of the current grid at its present
//                        size, rows outer and columns inner, as "x,y,z" lines (general
//                        number form, CR LF), empty cells with z = 9999. Replaces the
//                        file through a temporary file beside it.
//  WriteToothCsv         one tooth (nx x ny cells, voids included) to its output name
//                        + ".csv"; nothing for an absent tooth.
//  toothBitmap           the tooth's grey picture: one pixel per cell, its last row at
//                        the top, grey = 255 (z - zmin) / (zmax - zmin) rounded half to
//                        even and kept within 0..255 (an empty cell, 9999, is 255), on
//                        a picture of nx + 4 by ny + 4 in the cleared colour. A flat
//                        tooth (zmax = zmin) draws its heights black, its voids white.
//  WriteToothBitmap      that picture as output name + ".bmp"; nothing when absent.
//  OutputMultiToothCsv   every present tooth as WriteToothCsv does. Teeth whose output
//                        names coincide would overwrite each other: those teeth are
//                        held back (none of them written) and listed by number in one
//                        message; every tooth with a name of its own is written.
//
// A tooth is present when it has a grid (nx, ny > 0); a slot passed over by the reader
// (three points or fewer) has none. The output folder must exist; a missing folder or
// a failed write throws trelvik::Error naming it, leaving earlier files whole.
#include "core/prompt.h"
#include "csvview/latticegrid.h"
#include "csvview/outputnames.h"
#include "csvview/renderimage.h"

#include <string>
#include <vector>

namespace trelvik::csvview {

struct ToothOutput {
    int number = 0;                    // 1-based tooth number
    const LatticeGrid* grid = nullptr; // nx x ny cells with the tooth's zmin, zmax; null: absent
    ToothParameters params{};
};

bool toothPresent(const ToothOutput& tooth);

void OutputCurrentGridCsv(const CurrentGrid& grid, const std::string& path);

// Each returns the path written, or "" when the tooth is absent.
std::string WriteToothCsv(const ToothOutput& tooth, const std::string& outputFolder);
RgbImage toothBitmap(const LatticeGrid& tooth);
std::string WriteToothBitmap(const ToothOutput& tooth, const std::string& outputFolder);

struct MultiCsvOutcome {
    std::vector<std::string> written; // paths in tooth order
    std::vector<int> skipped;         // teeth held back for sharing a name, in tooth order
};
MultiCsvOutcome OutputMultiToothCsv(const std::vector<ToothOutput>& teeth, const std::string& outputFolder,
                                    Prompt& prompt);

// Throws trelvik::Error when `folder` is not an existing folder.
void requireOutputFolder(const std::string& folder);

} // namespace trelvik::csvview
