#pragma once
// The mapping-program calls of the conversion window's writers, in the two call forms
// of the run's version token ("SurferV6" positional, "SurferV8" named), and the checks
// the writers share. Another version token is refused (trelvik::Error) rather than
// silently skipping the call; failed calls throw trelvik::Error.
//
//  MirrorGridToXyz   GridTransform of `grid` mirrored in y, written as XYZ text to
//                    `dump`: version 6 (grid, 4, -, -, -, -, -, dump, 3); version 8
//                    InGrid, Operation 5, OutGrid, OutFmt 4.
//  GridToXyzText     GridConvert of `grid` to XYZ text `out`: (grid, out, 3) with
//                    version 6, (grid, out, 4) with version 8; every node, blanks too.
//  GridDataWindow    GridData of the x, y, z text `data` onto a lattice from (0, 0) to
//                    (XMax, YMax) of NumCols x NumRows nodes, into `out`: version 6
//                    (data, 0, 1, 2, 0, XMax, 0, YMax, -, -, NumRows, NumCols, 6, out);
//                    version 8 DataFile, NumCols, NumRows, XMin 0, XMax, YMin 0, YMax,
//                    Algorithm 9, ShowReport False, OutGrid.
//  RefuseOverwritingInput  throws when `out` names the same file as `in` (a writer must
//                    never replace the grid it reads).
//  ScanXyzText       reads x, y, z text record by record (formats/xyzdump.h); a line
//                    without three numbers throws "The <what> <path> has no x, y and z
//                    on line N."
#include "core/error.h"
#include "formats/xyzdump.h"

#include <functional>
#include <string>

namespace surfer {
class Application;
}

namespace trelvik::conversion {

void MirrorGridToXyz(surfer::Application& app, const std::string& version, const std::string& grid,
                     const std::string& dump);
void GridToXyzText(surfer::Application& app, const std::string& version, const std::string& grid,
                   const std::string& out);
void GridDataWindow(surfer::Application& app, const std::string& version, const std::string& data, long NumCols,
                    long NumRows, double XMax, double YMax, const std::string& out);

void RefuseOverwritingInput(const std::string& in, const std::string& out);

void ScanXyzText(const std::string& path, const char* what,
                 const std::function<void(const formats::XyzRecord&)>& onRecord);

// A grid file the reader will take, judged before the mapping program is attached and
// asked to read it: "The <what> <path> does not exist." when nothing is at its name, the
// reader's own message when it would refuse what is there (a folder, a pipe, another
// user's link).
void RequireInputFile(const std::string& path, const char* what);

} // namespace trelvik::conversion
