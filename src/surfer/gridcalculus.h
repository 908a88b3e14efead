#pragma once
// GridCalculus: grids derived from a grid's first and second derivatives.
//
// All three take an input grid and return a grid on the same lattice. Derivatives are
// central differences on the lattice (dz/dx = (z[c+1] - z[c-1]) / 2dx, and so on);
// a node whose stencil leaves the grid or meets a blank node is blank in the output.
// Slope and aspect use the node and its four edge neighbours; curvature the 3 x 3 block.
// Distances in x, y and z are taken in the same unit.
//
//  terrainSlope          the steepest slope in degrees, 0 (flat) to 90.
//  terrainAspect         the direction the surface faces, downhill, in degrees clockwise
//                        from +y (0 north, 90 east: +x, 180 south, 270 west), 0 <= a < 360.
//                        Nodes whose slope in radians is below minSlopeRadians, and nodes
//                        with no gradient at all, are blank.
//  directionalCurvature  along the direction angleDegrees counter-clockwise from +x:
//                        d2z/ds2 / (1 + (dz/ds)^2)^1.5, with s the distance along it; in
//                        1 / length, positive where the surface bends upward (a valley
//                        across the direction), negative over a crest.
//
// Version-6 positional codes (positions 2, 3 and 5 of the call):
//   operation class 0 (directional derivative) with derivative kind 2: curvature, angle
//   in position 4; operation class 1 (terrain) with terrain kind 0: slope, 1: aspect.
// Version-8 Operation codes: 3 curvature (Param1 the angle), 4 slope, 5 aspect (Param1
// the minimum slope in radians).
#include "core/grid.h"

namespace surfer {

trelvik::Grid terrainSlope(const trelvik::Grid& in);
trelvik::Grid terrainAspect(const trelvik::Grid& in, double minSlopeRadians);
trelvik::Grid directionalCurvature(const trelvik::Grid& in, double angleDegrees);

} // namespace surfer
