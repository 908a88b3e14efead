#pragma once
// The worked example of docs/guide.md, step by step, done in the windows as the guide
// tells the user to do it: open the window from its menu, press "Dir", pick the file,
// set the boxes, press the buttons, and digitise in the map window (add a relief map
// of the grid, Digitise on, click the points, Save as the file the question names,
// then OK). The screenshot tool runs it to put each window to work; the guide's test
// runs it to check the numbers the guide quotes.
//
// The example works on a copy of samples/ that is the default directory, with
// version 8 ticked. Digitise questions are answered by the prompt the example is given
// (a ScriptedPrompt): each step queues an answer that clicks the points on the map,
// saves the file, calls `atDigitise` (the screenshot tool's moment for the map
// window) and presses OK.
#include "core/prompt.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace trelvik {

class frmStartup;
class frmPlaneFit;
class frmCuspVol;
class frmAppAng;
class frmConversion;
class frmPtCloud;

namespace guide {

struct MapPoint {
    double x = 0, y = 0;
};

// The points the guide gives for each digitising step (map coordinates, mm).
extern const std::vector<MapPoint> kPlanePoints;       // four basins, digit.dat
extern const std::vector<MapPoint> kParaconeOutline;   // the cusp outline, digit.dat
extern const std::vector<MapPoint> kOcclusalPoints;    // two points, digit.dat
extern const std::vector<MapPoint> kCrestLine;         // the crest, digit1.dat

struct Example {
    frmStartup& main;
    ScriptedPrompt& prompt;
    std::string folder;  // the copy of samples/, also the default directory
    // Called after the points of a digitising step are saved, before OK is pressed:
    // the step's name ("plane", "cusp", "occlusal", "crest").
    std::function<void(const std::string& step)> atDigitise;
    // Where the click aimed at the step's point `index` (from 0) lands; unset, exactly
    // on the point the guide gives. A hand is never exact: this shows what that costs.
    std::function<MapPoint(const std::string& step, std::size_t index, MapPoint aimedAt)> click;
};

// Copies the files of samples/ into folder (which must exist).
void copySamples(const std::string& samplesFolder, const std::string& folder);

// Plane > Plane fit: molar.grd, "All points", "Digitise points for plane".
frmPlaneFit* fitPlane(Example& ex);
// Tooth features > Cusp volume: molar.grd with "Read TL file" and "Optional text for
// plane file" unticked, "Input topo grid", Paracone, interval size 0.1, 10 intervals,
// "Blank and analyse grids" (with "Automatically calculate").
frmCuspVol* measureCusp(Example& ex);
// Tooth features > Approach angle: molar.grd, Postparacrista, Tribo-type, "Find
// occlusal vector", "Digitise crest and translate".
frmAppAng* measureCrest(Example& ex);
// Utilities > File format conversion: molar_points.txt from "Text file (irregular ...)"
// to "Surfer grid file", grid intervals 0.1, "Add filename", "Examine", "Convert".
frmConversion* gridPoints(Example& ex);
// Utilities > Point clouds: molar_points.txt then molar_edj.txt, "Calculate" of
// "Enamel thickness".
frmPtCloud* measureEnamel(Example& ex);

} // namespace guide
} // namespace trelvik
