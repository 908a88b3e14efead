#pragma once
// Class counts of terrain slope and aspect values and the results table made of them.
//
// Classes have the width w and are centred on multiples of it: class k (1-based) holds
// the values from (k - 1.5) w up to, not including, (k - 0.5) w, so a value on a class
// boundary belongs to the class above it; range / w classes cover 0 .. range.
//   Aspect (range 360 degrees, a circle): the top half-class [360 - w/2, 360) wraps
//     into class 1, the one centred on north. Four tables, w = 11.25, 22.5, 45, 90.
//   Slope (range 90 degrees, not a circle): the top half-class [90 - w/2, 90] counts in
//     the steepest class. One table, w = 11.25, then the mean and the sample standard
//     deviation (N - 1 divisor) of the values.
// Values below -w/2, or from range + w/2 on, fall in no class.
// Inputs in degrees, blank nodes already left out. Counts are 64-bit: no class limit.
//
// Results text, lines ended CR LF, every field a quoted string, numbers in the general
// form (up to 15 significant digits): "Bin","Frequency"; one line per class (centre
// (k - 1) w, count); an empty line; for slope then "Mean Slope","SD Slope", the two
// values and an empty line. The mean and deviation block needs at least two values and
// is left out with fewer.
#include "formats/xyzdump.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::surffns {

enum class TerrainKind { Slope, Aspect };

inline constexpr double kTerrainClassWidth = 11.25;

// counts[k - 1] is the count of class k; range / width classes (width must divide range).
std::vector<std::int64_t> TerrainClassCounts(const std::vector<double>& values, double width, double range,
                                             bool circular);

// The whole results file of one grid.
std::string TerrainResultsText(TerrainKind kind, const std::vector<double>& values);

// The non-blank heights (z below 1E+37) of an XYZ text file, in file order. A missing
// or malformed file throws trelvik::Error naming it.
std::vector<double> ReadTerrainValues(const std::string& xyzPath);

} // namespace trelvik::surffns
