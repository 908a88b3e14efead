#pragma once
// Distances of the mean landmarks to a plane: the "Plane" tab of the "Landmark data"
// window.
//
// Input: a plane formula file (its first line, z(x,y) = C + By + Ax, read through the
// shared plane formula reader) and the mean landmarks of the last Calculate.
// The plane in normal form is Nx x + Ny y + Nz z = Nc with Nx = -A, Ny = -B, Nz = 1,
// Nc = C; landmark k lies |Nx X + Ny Y + Nz Z - Nc| / sqrt(Nx^2 + Ny^2 + Nz^2) from it.
// Output: a block appended to the results file of the last Calculate, in print zones of
// 14 columns: the normal form, the formula as z = (A * x) + (B * y) + (C), the line as
// read, and one line per landmark with its number and distance. Each run appends one
// more block; the earlier content stays.
// A file that is missing or does not hold a plane formula, or a run before Calculate,
// is reported and nothing is appended.
#include "core/prompt.h"
#include "planes/landfind.h"
#include "planes/planeformula.h"

#include <string>
#include <vector>

namespace trelvik::planes {

double DistanceToPlane(const PlaneCoefficients& p, double x, double y, double z);

// The appended block's lines (without line ends) for the formula line as read.
std::vector<std::string> PlaneDistanceLines(const PlaneCoefficients& p, const std::string& line,
                                            const std::vector<double>& meanX, const std::vector<double>& meanY,
                                            const std::vector<double>& meanZ);

// Returns true when the block was appended; false after a message.
bool FindDistancesToPlane(LandFindState& s, Prompt& prompt, const std::string& text4, const std::string& folder);

} // namespace trelvik::planes
