#include "surfer/gridreport.h"

#include "core/textform.h"

#include <vector>

namespace surfer {

namespace {

using trelvik::text::CStr;

std::string powerLabel(int xp, int yp) {
    std::string s;
    if (xp > 0) s += xp == 1 ? "x" : "x^" + std::to_string(xp);
    if (yp > 0) s += (s.empty() ? "" : "*") + (yp == 1 ? std::string("y") : "y^" + std::to_string(yp));
    return s.empty() ? "constant" : s;
}

} // namespace

std::string planeFormulaLine(double C, double B, double A) {
    return "z(x,y) = " + CStr(C) + " + " + CStr(B) + "y + " + CStr(A) + "x";
}

std::string gridDataReportText(const GridDataRequest& rq, const GridDataResult& rs) {
    std::vector<std::string> rows;
    auto line = [&](const std::string& label, const std::string& value = std::string()) {
        rows.push_back(value.empty() ? label : label + "\t" + value);
    };
    auto num = [](long long v) { return std::to_string(v); };

    line("Gridding Report");
    line("");
    line("Data Source");
    line("Source Data File Name:", rq.dataFile);
    line("X Column:", num(rq.xCol));
    line("Y Column:", num(rq.yCol));
    line("Z Column:", num(rq.zCol));
    line("Exclusion Filter:", rq.exclusionFilter.empty() ? "none" : rq.exclusionFilter);
    line("");
    line("Data Counts");
    line("Records read:", num(rs.records));
    line("Blank records dropped (z >= 1E+38):", num(rs.blankDropped));
    line("Records excluded by the filter:", num(rs.excluded));
    line("Duplicate records merged (mean z):", num(rs.duplicates));
    line("Points used:", num(rs.pointsUsed));
    line("");
    line("Data Extents");
    line("X Minimum:", CStr(rs.x.min));
    line("X Maximum:", CStr(rs.x.max));
    line("Y Minimum:", CStr(rs.y.min));
    line("Y Maximum:", CStr(rs.y.max));
    line("Z Minimum:", CStr(rs.z.min));
    line("Z Maximum:", CStr(rs.z.max));
    line("");
    line("Gridding Rules");
    line("Gridding Method:", gridAlgorithmName(rs.algorithm));
    switch (rs.algorithm) {
    case GridAlgorithm::InverseDistance: line("Power:", "2"); line("Neighbours:", "16 nearest"); break;
    case GridAlgorithm::Kriging:
        line("Kriging Type:", "Point");
        line("Variogram:", "Linear without nugget");
        line("Neighbours:", "16 nearest with at most 4 per quadrant");
        break;
    case GridAlgorithm::PolynomialRegression:
        line("Maximum X Order:", num(rq.regrMaxXOrder));
        line("Maximum Y Order:", num(rq.regrMaxYOrder));
        line("Maximum Total Order:", num(rq.regrMaxTotalOrder));
        break;
    default: break;
    }
    line("");
    line("Output Grid");
    line("Grid Size (columns):", num(rs.grid.cols));
    line("Grid Size (rows):", num(rs.grid.rows));
    line("X Minimum:", CStr(rs.grid.xMin));
    line("X Maximum:", CStr(rs.grid.xMax));
    line("X Spacing:", CStr(rs.grid.xSpacing()));
    line("Y Minimum:", CStr(rs.grid.yMin));
    line("Y Maximum:", CStr(rs.grid.yMax));
    line("Y Spacing:", CStr(rs.grid.ySpacing()));

    if (rs.regression) {
        const PolynomialFit& f = *rs.regression;
        // The regression block sits at fixed rows: the plane tools read its cells.
        while (static_cast<int>(rows.size()) < kRegressionRow - 3) line("");
        line("Polynomial Regression Results");
        line("Fitted Parameters of z = C + B*y + A*x");
        line("C (constant):", CStr(f.C));
        line("B (y):", CStr(f.B));
        line("A (x):", CStr(f.A));
        line("Parameter Values");
        line("C (constant):", CStr(f.C));
        line("B (y):", CStr(f.B));
        line("A (x):", CStr(f.A));
        bool higher = false;
        for (const auto& t : f.terms)
            if (t.xPower + t.yPower > 1) {
                if (!higher) line("Higher Order Terms");
                higher = true;
                line(powerLabel(t.xPower, t.yPower) + ":", CStr(t.coefficient));
            }
        line("Residual Sum of Squares:", CStr(f.residualSumOfSquares));
    }
    std::string text;
    for (const auto& r : rows) {
        text += r;
        text += "\r\n";
    }
    return text;
}

} // namespace surfer
