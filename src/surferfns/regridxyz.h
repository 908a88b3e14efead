#pragma once
// XYZ text and files shared by the "Surfer Functions" regridding, extraction and
// blanking procedures.
//
//  PrivateTempFile    (core/tempfiles.h) where the mapping program's XYZ dumps that are
//                     only read back land, never on a name the user may hold (a grid's
//                     "digit.dat" or its scanner ".txt").
//  writeUnblankedXyz  reads an XYZ dump (x, y, z separated by blanks, tabs or commas)
//                     and replaces `outPath` (which may be the dump itself) with the
//                     records whose z is below 1E+37 as "x,y,z" lines, CR LF: blank nodes,
//                     held as 1.70141E+38, are dropped. The numbers are copied as the dump
//                     writes them (the general form), so they are not formatted again.
//                     Returns the count and the x, y extents of the records kept. A line
//                     without three numbers throws trelvik::Error naming file and line.
//  copyFileReplacing  copies a file's bytes over another through a temporary file beside
//                     the target, so a failed copy leaves the old target whole.
//  CallSurferPositional  one operation in the positional form on both versions (the
//                     calls that version 8 also receives by position), each version with
//                     its own argument list; another version token issues nothing and
//                     returns false.
//  DelCharStem        a path less its last d characters for d typed in a "Del. no. char."
//                     box: d is the typed number, the kept length rounded halves to even.
//                     Returns nothing when d is negative or larger than the base name, so
//                     the cut never reaches into the folder.
#include "core/tempfiles.h"
#include "surferfns/surffnsstate.h"

#include <optional>
#include <string>

namespace trelvik::surffns {

using trelvik::PrivateTempFile;

struct UnblankedXyz {
    std::size_t records = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // of the records kept; 0 when none
};
UnblankedXyz writeUnblankedXyz(const std::string& dumpPath, const std::string& outPath);

void copyFileReplacing(const std::string& from, const std::string& to);

bool CallSurferPositional(SurfFnsContext& ctx, const std::string& operation, const surfer::Positional& v6,
                          const surfer::Positional& v8);

std::optional<std::string> DelCharStem(const std::string& pathNoExt, const std::string& baseName,
                                       const std::string& typedD);

} // namespace trelvik::surffns
