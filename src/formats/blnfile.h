#pragma once
// BlankingLineFile (.bln): outlines and lines for blanking and slicing grids.
// One or more sections, each a header line "count, flag" and then `count` lines
// "x, y". Flag 0 blanks outside the outline, 1 inside; slice lines carry 0. A closed
// outline repeats its first vertex as its last (count = distinct vertices + 1); an
// open line does not. Lines end CR LF.
//
// Two layouts are written:
//   Zone  - print zones of 14 columns: a number as " 12.5 " (its sign or a blank in
//           front, one blank after), the next item at the next zone (column 15, 29..);
//           the flag is written bare ("0"), so a header reads " 12" + blanks + "0".
//   Comma - items joined by a comma, numbers bare: "12,0", "12.5,3.25".
// A section may carry a literal header text instead ("5,0", "2, 0").
// The reader takes all of these: items separated by commas and/or blanks.
#include "formats/pointxy.h"

#include <string>
#include <vector>

namespace trelvik::formats {

enum class BlnLayout { Zone, Comma };

struct BlnSection {
    int flag = 0;
    PointXYList vertices;       // as written: a closed outline ends on its first vertex
    std::string literalHeader;  // written as it is in place of "count, flag" when set
};

// n points as a closed outline: the first point repeated at the end (count n + 1).
BlnSection closedOutline(const PointXYList& points, int flag);
// n points as an open line (count n).
BlnSection openLine(const PointXYList& points, int flag = 0);

// The per-tooth strips of a jaw grid cut along digitised borders, teeth counted from
// anterior (largest y) to posterior, borders drawn left to right, flag 0:
//   first tooth: (xMin, yMax), border 1, (xMax, yMax), (xMin, yMax)          n1 + 3
//   tooth t in between: border t-1, border t reversed, first point of t-1   n(t-1) + n(t) + 1
//   last tooth: (xMin, yMin), border N-1, (xMax, yMin), (xMin, yMin)         n(N-1) + 3
// With one tooth the strip runs from the top edge along border 1.
// Throws trelvik::Error naming `borderFile` when numTeeth < 1 or a needed border is
// missing or empty; borders beyond those needed are not used.
std::vector<BlnSection> toothStrips(const std::vector<PointXYList>& borders, int numTeeth, double xMin,
                                    double xMax, double yMin, double yMax, const std::string& borderFile);

// The file's text. Throws trelvik::Error naming `path` for a section without vertices
// or a literal header whose count disagrees with the vertices.
std::string formatBlnFile(const std::vector<BlnSection>& sections, BlnLayout layout,
                          const std::string& path = "blanking file");
// Replaces the file only once the new one is complete.
void writeBlnFile(const std::string& path, const std::vector<BlnSection>& sections, BlnLayout layout);

// Every section in file order (literalHeader left empty). Empty lines are passed
// over. A missing file, a file without sections, a header without a whole count of
// at least 1 and a flag, or a vertex line without x and y (also one missing at the
// end) throws trelvik::Error naming the file and line.
std::vector<BlnSection> readBlnFile(const std::string& path);

} // namespace trelvik::formats
