#pragma once
// Mirror, clockwise rotation, inversion and mould rotation of one listed grid through
// the mapping program (the geometric operations of the "Process" button).
//
// Input: list entry i (1-based) of the window; the version-8 named call form (these
//   operations have no version-6 form: the caller refuses them with version 6).
// Output: GridPathNoExt(i) & suffix & ".grd" beside the input, stored in OutGridName(i):
//   MirrorX "mx"      GridTransform Operation 4: z(x, y) -> z(xMin + xMax - x, y)
//   MirrorY "my"      GridTransform Operation 5: z(x, y) -> z(x, yMin + yMax - y)
//   MirrorZ "mz"      ReadGridGeometry, then GridMath "C=<zmax>-A +<zmin>": each height
//                     z becomes zmax - z + zmin, the z range kept with high and low swapped
//   Rotate90/180/270 "r90" "r180" "r270"  GridTransform Operation 3, Rotation -90,
//                     -180, -270: turned clockwise seen from above
//   Inverse "inv"     GridMath "C=1/A": blank where A is 0 (or blank)
//   MouldRotate "mr"  the z mirror into a private temporary grid (core/tempfiles.h),
//                     then GridTransform Operation 4 of it into the output
// Blank nodes stay blank. Failed calls or geometry scans throw trelvik::Error.
#include "surferfns/surffnsstate.h"

#include <string>

namespace trelvik::surffns {

enum class GeometricOp { MirrorX, MirrorY, MirrorZ, Rotate90, Rotate180, Rotate270, Inverse, MouldRotate };

// The name suffix of an operation ("mx" ... "mr").
const char* GeometricSuffix(GeometricOp op);

// "C=" & zMax & "-A +" & zMin, numbers in the general form (15 significant digits):
// z from -0.5 to 1.5 gives "C=1.5-A +-0.5".
std::string ZMirrorFunction(double zMin, double zMax);

// Runs the operation on entry i (version 8) and sets OutGridName(i).
void RunGeometricOp(SurfFnsContext& ctx, int entry, GeometricOp op);

} // namespace trelvik::surffns
