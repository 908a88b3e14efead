#pragma once
// The plane formula line and file: how a fitted plane travels between the tools.
//
// A plane z(x, y) = C + B*y + A*x is written as one line of text,
//     "z(x,y) = " C " + " B "y + " A "x"
// each number in the general number form (text::CStr: the shortest text that gives the
// value back within 15 significant digits, "." as decimal point, a leading "-" for
// negatives, E notation such as 1.5E-05 or 1.5E+20 for very small and very large
// magnitudes). A negative B or A therefore follows the plus sign: "+ -0.25y".
// The plane's normal, as every tool uses it, is (-A, -B, 1); C is the height at x = y = 0.
//
// A plane formula file holds such a line as its first line, ended by CR LF; readers take
// only the first line. Writing replaces the file atomically (a failed write leaves the
// old file whole).
//
// Reading is tolerant and the same for every tool: blanks anywhere between items, the
// terms in any order, a term's sign given by "+", "-" or both ("+ -0.1y", "- 0.1y"),
// an optional "*" before the variable, upper- or lower-case x and y, and a term that is
// left out counts as 0. Anything else (a line that is not of the form "z(x,y) = ..."
// with numeric terms, a variable given twice, text after the last term, an empty line)
// is not a plane formula: the reader throws trelvik::Error naming the file. A line is
// never read as zeros by mistake.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace trelvik::planes {

struct PlaneCoefficients {
    double C = 0;  // height at x = y = 0
    double B = 0;  // slope along y
    double A = 0;  // slope along x

    // (-A, -B, 1), not normalised.
    std::array<double, 3> normal() const { return {-A, -B, 1.0}; }
    // The plane's height at (x, y).
    double height(double x, double y) const { return C + B * y + A * x; }
    bool operator==(const PlaneCoefficients&) const = default;
};

// "z(x,y) = C + By + Ax" with each number in the general number form.
std::string PlaneFormulaLine(double C, double B, double A);
inline std::string PlaneFormulaLine(const PlaneCoefficients& p) { return PlaneFormulaLine(p.C, p.B, p.A); }

// The coefficients of a plane formula line, or nothing when the line is not one.
// A trailing CR and/or LF is ignored.
std::optional<PlaneCoefficients> tryParsePlaneFormula(std::string_view line);

// As tryParsePlaneFormula; a line that is not a plane formula throws trelvik::Error
// naming `source` (a file name, or a description such as "the clipboard text").
PlaneCoefficients ParsePlaneFormula(std::string_view line, const std::string& source);

// The first line of a text (up to the first CR or LF).
std::string firstLine(std::string_view text);

// The coefficients from the first line of a plane formula file. A missing or unreadable
// file, or a first line that is not a plane formula, throws trelvik::Error naming it.
PlaneCoefficients ReadPlaneFormulaFile(const std::string& path);

// Writes `line` (its first line only, as given) followed by CR LF as the whole file,
// replacing any old file atomically. Throws trelvik::Error naming the file on failure,
// and writes nothing for a line the reader would refuse (a coefficient that is not
// finite after rounding to 15 digits), so every written file reads back. With writeAs
// (a working name that stands for path until its step puts it in place) the file is
// written there, while messages still name path.
void WritePlaneFormulaText(const std::string& path, std::string_view line, const std::string& writeAs = {});

// Writes the plane formula line of p as the whole file (as WritePlaneFormulaText).
void WritePlaneFormulaFile(const std::string& path, const PlaneCoefficients& p);

} // namespace trelvik::planes
