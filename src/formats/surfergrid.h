#pragma once
// Surfer grid files: ASCII (DSAA), Surfer 6 binary (DSBB) and Surfer 7 binary (DSRB).
// Readers detect the kind from the file's first bytes. Blank nodes are kBlank.
// A damaged or truncated file throws trelvik::Error naming the file; a reader never
// returns a partial grid.
#include "core/grid.h"

#include <string>

namespace trelvik::formats {

enum class SurferGridFormat { Ascii, Binary6, Binary7 };

// Settles the commits a kill cut short in the grid's folder first (core/commit/workingfiles.h);
// readSurferGridAsItStands is for a caller that has just done so.
Grid readSurferGrid(const std::string& path);
Grid readSurferGridAsItStands(const std::string& path);
SurferGridFormat detectSurferGridFormat(const std::string& path);  // throws when not a grid
// Replaces an existing file only once the new one is complete.
void writeSurferGrid(const std::string& path, const Grid& grid, SurferGridFormat format);

} // namespace trelvik::formats
