#pragma once
// Grid to DAT and XYZ text: one grid of the conversion window's list as point text.
//
// GridToDat: output stem + ".dat", or stem + the "Rename as" text when that box is
//   ticked (used as typed, its "." included). The mapping program writes the grid as XYZ
//   text (every node, blanks with z = 1.70141E+38). Without "Remove blanked points" that
//   text is the output. With it, the text goes to a private temporary file and the
//   output holds one "x,y,z" line (numbers in the general form, CR LF) per node whose z
//   is below 1E+37, in the text's order.
// GridToXyz: output stem + ".xyz": one line per node whose z is below 1E+37, the three
//   values shifted by the grid's least x and least y (over every node, blanks included)
//   and least data z, each in the form "0.0##" (halves away from zero), joined by tabs,
//   CR LF. A grid without data gives an empty file.
// The working text is always a private temporary file, never a name in the user's
// folder. An output that would replace the grid itself is refused. Errors throw
// trelvik::Error naming the file.
#include <string>

namespace surfer {
class Application;
}

namespace trelvik::conversion {

std::string DatOutputName(const std::string& stem, bool chkRenameExt, const std::string& txtRenameExt);

void GridToDat(surfer::Application& app, const std::string& version, const std::string& grid,
               const std::string& out, bool chkRemoveBPts);
void GridToXyz(surfer::Application& app, const std::string& version, const std::string& grid,
               const std::string& out);

// The writers behind them, from XYZ text already on disk (for the benchmarks and tests).
void WriteDatWithoutBlanks(const std::string& xyzText, const std::string& out);
void WriteShiftedXyz(const std::string& xyzText, const std::string& out);

} // namespace trelvik::conversion
