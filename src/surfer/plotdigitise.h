#pragma once
// Digitising on a plot document: the points a user clicks on flat maps (relief,
// contour, image), in map coordinates, in groups that "-1" lines separate, and the
// digitise file they are saved to.
//
// A click is taken by the topmost flat map frame that contains it (frame edges count
// as inside); a click on a 3-D surface or outside every frame adds nothing. Undo takes
// back the last entry, a point or a group end. Saving writes one "x,y" line per point
// in the general number form and "-1" for each group end, through a temporary file.
#include "formats/pointxy.h"
#include "surfer/plotmodel.h"

#include <memory>
#include <string>
#include <vector>

namespace surfer {

// The topmost flat map frame containing the page point (inches), or nullptr.
std::shared_ptr<MapFrame> flatMapAt(const PlotShapes& shapes, double pageX, double pageY);

class DigitiseSession {
public:
    struct Entry {
        bool groupEnd = false;
        double x = 0, y = 0;
    };

    // Adds the map point under the page point; false (and nothing added) when no flat
    // map is there.
    bool click(const PlotShapes& shapes, double pageX, double pageY);
    void addPoint(double x, double y, const std::string& gridPath = {});
    void endGroup();
    // false when there was nothing to take back.
    bool undo();
    void clear();
    // Keeps the entries whose flag is set, in their order.
    void keepOnly(const std::vector<bool>& keep);

    const std::vector<Entry>& entries() const { return entries_; }
    long pointCount() const;
    // The lines the file will hold: "x,y" per point, "-1" per group end.
    std::vector<std::string> lines() const;
    // The groups as the digitise reader returns them.
    std::vector<trelvik::formats::PointXYList> groups() const;
    // The file (by default "digit.dat") in the folder of the grid last clicked on;
    // empty before any click.
    std::string defaultPath(const std::string& file = "digit.dat") const;
    // Writes the digitise file (replacing any file at path) and returns the text written;
    // throws trelvik::Error.
    std::string save(const std::string& path) const;

private:
    std::vector<Entry> entries_;
    std::string lastGrid_;
};

} // namespace surfer
