#pragma once
// The processed-grid picture: one pixel per cell of the processed grid, coloured by
// the analysis that filled it.
//
// Inputs: the processed grid (z = 9999 empty), the slope analysis' gradient and
// orientation grids and the copy of its gradients (for shaded relief), the mode and
// the display settings below. Pixel (c - 1, y) shows cell (c, rows - y): row 1 at
// the bottom. Empty cells are black in every mode except shaded relief.
//
//   ShadedRelief  orientation grid in the processed grid; slope angle S =
//                 atan(gradient), light from azimuth H at elevation V (Z = 90 - V):
//                 L = cos Z cos S + sin Z sin S cos(A - H),  R = (2 L cos S - cos Z)^b,
//                 I = w L + (1 - w) R,  grey = 255 I (0 when not positive).
//   Slope         gradients: g = 255 z / highest; (255 - g, 0, 0) where the slope
//                 angle is at or below the minimum slope (when used), else (0, g, 0).
//   Angular       angularity in degrees: g = (z - 89) * 255 from 89 up, else 0; (0, g, 0).
//   Aspect        orientation classes of 8 or 4 compass sectors (others: black);
//                 -1 (below the minimum slope) grey 128.
//   grey          (results not from the slope analysis) p = (z - lowest) /
//                 (highest - lowest), grey 255 p; for "Contour" bands 0..K band k is
//                 grey (k + 1) * 255 / (K + 1).
// Channels are rounded half to even and limited to 0..255. A zero height range draws
// every cell at p = 0 (a flat band grid: band 0 of one band, white); a highest
// gradient of 0 draws g = 0.
#include "csvview/latticegrid.h"
#include "csvview/renderimage.h"

#include <optional>
#include <string>
#include <vector>

namespace trelvik::csvview {

struct ShadeSettings {
    double azimuth = 315;   // txtSRHoriz, degrees
    double elevation = 45;  // txtSRVert, degrees above the horizon
    double exponent = 5;    // txtSRb
    double weight = 0;      // txtSRw, weight of the direct term
};

struct ProcessedRenderInput {
    const LatticeGrid* processed = nullptr;
    const LatticeGrid* slope = nullptr;       // SlopeGrid (ShadedRelief)
    const LatticeGrid* orient = nullptr;      // OrientGrid (ShadedRelief)
    const LatticeGrid* shadeSlope = nullptr;  // ShadeSlopeGrid (ShadedRelief)
    std::string procMode;                     // "ShadedRelief", "Slope", "Angular", "Aspect", "Contour", ...
    bool slopeResultsReady = false;
    ShadeSettings shade;
    bool useMinSlope = false;
    double minSlope = 10;     // degrees
    double aspectNoCat = 8;   // number of orientation classes
};

struct ProcessedPicture {
    RgbImage buffer;            // cols + 4 by rows + 4
    double lowest = 0, highest = 0;  // height range of the non-empty cells
    bool hasCells = false;      // false when every cell is empty
    // Level behind each pixel (grey or green channel before rounding), by picture
    // position (i - 1) + (j - 1) * cols; what the processed view's read-out shows.
    std::vector<double> level;
    int cols = 0, rows = 0;
    double levelAt(int i, int j) const { return level[static_cast<std::size_t>(j - 1) * cols + (i - 1)]; }
};

ProcessedPicture renderProcessedGrid(const ProcessedRenderInput& in);

// Colour of an orientation in `classes` compass sectors (8 or 4; any other count black).
std::uint32_t orientationColour(double orientation, double classes);

// Grey level of the shaded relief for one cell (before rounding).
double shadeLevel(double gradient, double orientationDeg, bool orientationVoid, const ShadeSettings& s);

// Which bitmap the renderer saves, from the analysis that called it.
struct ProcessedImageNaming {
    std::string stem;             // input folder + base name
    bool slopeRunning = false;    // the slope analysis called
    bool saveSlopeImage = false;  // "Save o/s image"
    bool aspectChosen = false;    // "Orientation" option
    bool slopeChosen = false;     // "Slope" option
    std::string aspectNoCatText, slopeNoCatText;
    bool useMinSlope = false;
    std::string minSlopeText;
    bool contourRun = false;
    bool saveContourImage = false;  // "Save contour image"
    bool contourByXy = false;       // "xy int x" chosen
    bool contourByRange = false;    // "z range /" chosen
    std::string contourFactorText, contourRangeText;
};

// The bitmap path, or nothing when no image is to be saved.
std::optional<std::string> processedImageName(const ProcessedImageNaming& n);

} // namespace trelvik::csvview
