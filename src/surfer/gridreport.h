#pragma once
// The gridding report of GridData (ShowReport true) and the plane formula line.
//
// gridDataReportText: the report as text, one worksheet row per line; a line's label and
// value are separated by a tab (no commas anywhere, so the worksheet reader puts the
// label in column A and the value in column B). Sections: the data file and columns,
// the exclusion filter, data counts (records read, blank records dropped, excluded,
// duplicates merged, points used), the extents of x, y and z, the grid lattice and the
// method. After a polynomial regression rows kRegressionRow to kRegressionRow + 2 hold
// in column B the fitted C, B and A of z = C + B*y + A*x, and rows kRegressionRowCopy to
// kRegressionRowCopy + 2 hold them again; further terms of higher orders and the
// residual sum of squares follow. Numbers are in the general number form (CStr).
//
// planeFormulaLine: "z(x,y) = " C " + " B "y + " A "x", numbers in the general form,
// the text the version-6 clipboard holds after a regression and the plane tools store.
#include "surfer/griddata.h"

#include <string>

namespace surfer {

inline constexpr int kRegressionRow = 166;
inline constexpr int kRegressionRowCopy = 170;

std::string gridDataReportText(const GridDataRequest& request, const GridDataResult& result);
std::string planeFormulaLine(double C, double B, double A);

} // namespace surfer
