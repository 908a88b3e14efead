#pragma once
// Slope, orientation and angularity of every cell of a lattice grid.
//
// Input: the working grid (cells 1-based, z = 9999 empty) and the lattice x and y
// steps. Horn's 3 x 3 operator (weights 1, 2, 1, /8):
//   d1 = change along the columns (+x), d2 = change along the rows (+y), per cell.
// Each change is divided by its own step, so a lattice whose cells are not square gets
// the true gradient (for square cells this is the same as dividing both by the x step).
// Outputs, each at the grid's size with the cells' x and y:
//   slope       gradient sqrt((d1/xstep)^2 + (d2/ystep)^2) (dimensionless)
//   slopeDeg    atan(gradient) in degrees (z only)
//   orient      downhill bearing in degrees, 0 toward +y, 90 toward +x, clockwise,
//               in [0, 360); 9999 for a flat cell; -1 below the minimum slope
//   angularity  the slope angle (degrees) of the slopeDeg surface
// Border cells, cells with an empty neighbour, and (for angularity) cells next to a
// cell without slope hold 9999. A cell's own height is not consulted.
#include "csvview/latticegrid.h"

namespace trelvik::csvview {

// The option button of the "Orientation/slope" frame.
enum class SlopeChoice { Slope, Aspect, Angular, ShadedRelief };

struct SlopeOptions {
    SlopeChoice choice = SlopeChoice::Slope;
    // Which grid becomes the processed grid; slopeFlags(choice) gives the usual ones,
    // the patch count sets wantSlope and wantOrient itself.
    bool wantSlope = true, wantOrient = false, wantAngular = false;
    bool useMinSlope = false;  // "Min slope"
    double minSlope = 10;      // txtMinSlope, degrees
    double slopeNoCat = 9;     // txtSlopeNoCat
    double aspectNoCat = 8;    // txtAspectNoCat
    bool saveStats = false;    // "Save o/s stats"
    bool saveData = false;     // "Save o/s data"
};

// wantSlope / wantOrient / wantAngular of an option button.
void slopeFlags(SlopeChoice choice, SlopeOptions& opts);
// The renderer's mode name of an option button: "Slope", "Aspect", "Angular", "ShadedRelief".
const char* procModeName(SlopeChoice choice);

struct SlopeGrids {
    LatticeGrid slope, slopeDeg, orient, angularity;
    LatticeGrid shadeSlope;  // copy of slope in the Aspect and ShadedRelief modes, zeros otherwise
    LatticeGrid processed;   // the grid chosen by the want flags
};

SlopeGrids computeSlopeGrids(const LatticeGrid& working, double xstep, double ystep, const SlopeOptions& opts);

} // namespace trelvik::csvview
