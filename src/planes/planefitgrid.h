#pragma once
// The mapping-program steps that plane fitting and the occlusal-vector plane share,
// each in the call form of the run's version ("SurferV6" positional, "SurferV8" named;
// any other token throws trelvik::Error before a call is issued).
//
//  ReadPlaneToolGeometry  the lattice of a grid. Version 6: the report sheet of
//      GridVolume saved as the grid folder's "volume.dat" (FileNew, GridVolume(grid, , ,
//      0), FileSaveAs, FileClose, FileOpen(path, 1), the cells (4,4) columns, (4,7) rows,
//      (5,2) x spacing, (6,2) y spacing, (7,1) least x, (7,3) greatest x, (8,1) least y,
//      (8,3) greatest y, FileClose). Version 8: ReadGridGeometry (which attaches the
//      run's shared reference). The greatest x and y are the grid's own, not least +
//      (count - 1) x spacing: the scan rounds the y spacing to six decimals, and a
//      limit rebuilt from it would drift off the grid's lattice over many rows.
//  RegressionPlaneGrid    the first-order regression plane through the points of a data
//      file (x, y, z) as a grid on that lattice, with the regression report shown:
//      version 6 GridData with 54 positional arguments (method 3, report 1, orders
//      1, 1, 1, 1); version 8 Algorithm 7, ShowReport True, RegrMax*Order 1.
//  RegressionFormulaText  the plane formula line of that regression. Version 6: the
//      clipboard text, which must be a plane formula line (else trelvik::Error and the
//      caller writes no formula file). Version 8: the report window saved as
//      gridDir & "Report1.txt", copied to reportCopy, opened as a worksheet, C, B, A
//      read from its cells B166, B167, B168 (leading-number rule; a cell without a
//      number throws), the window closed. Given the step's StagedFiles, the report and
//      its copy are made under their working names, naming the files the user knows
//      (the data file's own name, not its working one); messages name reportCopy.
//  IntersectionGrid       C = max(A, B) of two grids into out (GridMath).
#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "planes/planeformula.h"

#include <string>

namespace surfer { class Application; }

namespace trelvik::planes {

struct PlaneToolLattice {
    long cols = 0, rows = 0;
    double xSpacing = 0, ySpacing = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// True for "SurferV6", false for "SurferV8"; any other token throws.
bool usesVersion6(const AppState& app);

// The grid's folder with its trailing separator, as the tools build file names.
std::string folderWithSeparator(const std::string& folder);

PlaneToolLattice ReadPlaneToolGeometry(AppState& app, surfer::Application& m_Surfer, const std::string& grid,
                                       const std::string& gridDir);

void RegressionPlaneGrid(const AppState& app, surfer::Application& m_Surfer, const std::string& dataFile,
                         const PlaneToolLattice& lattice, const std::string& outGrid);

std::string RegressionFormulaText(AppState& app, surfer::Application& m_Surfer, const std::string& gridDir,
                                  const std::string& reportCopy, StagedFiles* staged = nullptr);

// The number at the start of a report cell's text (leading blanks and "+" allowed,
// reading stopping at the first character that is not part of it). A cell that does not
// start with a number throws trelvik::Error naming the cell and the report: a formula is
// never built from coefficients that were not there.
double ReportCoefficient(const std::string& cellText, const std::string& cell, const std::string& report);

void IntersectionGrid(const AppState& app, surfer::Application& m_Surfer, const std::string& gridA,
                      const std::string& gridB, const std::string& out);

} // namespace trelvik::planes
