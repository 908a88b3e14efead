#pragma once
// The grid-height step: the heights of a grid at digitised points, taken through the
// mapping program's GridResiduals.
//
// For a grid G, a file stem S (the grid's folder and base name, plus a crest code where
// the tool uses one) and a point prefix P ("pl", "_ctp", "_ovp", "_CPlp", "_crsltrpp"):
//   1. the digitise file (by default the grid's folder & "digit.dat") is copied byte for
//      byte to S & P & ".dat" (kept);
//   2. the first n points of the file are written, one line x, y, "0" each, to the zero
//      file S & P & "0.dat" (print zones of 14 columns, or comma-separated on request;
//      made under a working name beside it unless it is kept);
//   3. GridResiduals(G, zero file) adds the residual r = 0 - height of G at (x, y) as a
//      fourth value of every line; the program saves the file over itself and closes it
//      (version 6: GridResiduals(G, file, 0, 1, 2, 3), FileSaveAs(file), FileClose();
//      version 8: GridResiduals(InGrid:=G, DataFile:=file), ActiveDocument.Save,
//      ActiveDocument.Close; or the version-8 instance called by position, as one crest
//      window does);
//   4. n records x, y, z, r are read back; the height file S & P & "z.dat" (or another
//      height tag, "Z" for "_crsltrpp") gets the print-zone lines x, y, -r (kept);
//   5. the zero file is deleted (unless kept on request).
// Output: the n points (x, y, height of G), in file order.
//
// Errors (trelvik::Error, naming the file or the count): a missing digitise file or
// grid, fewer points in the copy than asked (n below 1 included), a failed call, a saved
// zero file with fewer than n records, and a point outside the grid or on a blank node
// (its number, from 1, and coordinates; such a point has no height and is never handed
// on as one).
//
// A refused step leaves every file of an earlier run as it was: every point is checked
// before anything kept is written, a kept zero file is called under a temporary name,
// and the copy, the height file and a kept zero file are put in place together only
// when every point has its height (or, through MeasuredHeights, when the caller's own
// checks of the heights have passed too).
#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/points.h"
#include "formats/pointxy.h"

#include <string>

namespace surfer { class Application; }

namespace trelvik::planes {

enum class ResidualsCallForm {
    Version6,            // positional with the column codes 0, 1, 2, 3, FileSaveAs, FileClose
    Version8Named,       // InGrid, DataFile by name, ActiveDocument.Save / Close
    Version8Positional,  // version 8, the same two values by position
};

// Version6 for "SurferV6", Version8Named for anything else.
ResidualsCallForm residualsCallForm(const std::string& surferVersion);

struct GridHeightStep {
    std::string grid;          // G, full path
    std::string digitiseFile;  // the user's digitise file; empty: the grid's folder & "digit.dat"
    std::string stem;          // S; empty: the grid's path less its last four characters
    std::string prefix;        // P
    long count = 0;            // n, the first n points of the digitise file
    std::string heightTag = "z";
    bool zeroFileCommaSeparated = false;
    bool keepZeroFile = false;
    ResidualsCallForm form = ResidualsCallForm::Version8Named;

    std::string copyFile() const;    // S & P & ".dat"
    std::string zeroFile() const;    // S & P & "0.dat"
    std::string heightFile() const;  // S & P & heightTag & ".dat"
    std::string digitiseSource() const;
};

// The points of the step's digitise file ("-1" group separators are not points), read
// for a check before the heights; nothing is written. Throws when the digitise file is
// missing or damaged (naming it).
formats::PointXYList DigitisedPoints(const GridHeightStep& step);

// Heights taken, with the step's kept files written beside their places but not yet in
// them: commit() puts them in place; dropped uncommitted, they are removed and the
// files of an earlier run stay.
class MeasuredHeights {
public:
    MeasuredHeights(PointList points, StagedFiles files);

    const PointList& points() const { return points_; }
    // The kept files held back; a caller stages its own files here too, so that commit()
    // puts all of them in place together.
    StagedFiles& files() { return files_; }
    // The copy of the digitise file (steps 1 to 5 only), the height file and a kept zero
    // file, all replaced or none. Returns the points.
    const PointList& commit();

private:
    PointList points_;
    StagedFiles files_;
};

// Steps 1 to 5, the kept files held back for the caller's checks.
MeasuredHeights MeasureGridHeights(surfer::Application& app, const GridHeightStep& step);

// Steps 1 to 5, the kept files put in place.
PointList GridHeights(surfer::Application& app, const GridHeightStep& step);

// Steps 2 to 5 for points the caller already holds (no digitise file, no copy): the
// zero file, the call, the height file. Used where points are computed, not digitised.
MeasuredHeights MeasureGridHeightsAt(surfer::Application& app, const formats::PointXYList& points,
                                     const std::string& grid, const GridHeightStep& files);
PointList GridHeightsAt(surfer::Application& app, const formats::PointXYList& points, const std::string& grid,
                        const GridHeightStep& files);
// The same, its kept files joining `pending`, the files a caller's step has staged so
// far: commit() then puts the caller's files and these in place together.
MeasuredHeights MeasureGridHeightsAt(surfer::Application& app, const formats::PointXYList& points,
                                     const std::string& grid, const GridHeightStep& files, StagedFiles pending);

} // namespace trelvik::planes
