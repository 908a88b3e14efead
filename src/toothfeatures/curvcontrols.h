#pragma once
// The controls of the "Curvature" window that its steps read and write, as the texts
// typed and the ticks set, with the values of a freshly opened window. The window
// copies its controls into a CurvControls before a step and shows what the step left
// in it afterwards; tests drive the steps through the same struct.
#include <string>

namespace trelvik::toothfeatures {

// Tabs of SSTab2, in order.
enum CurvTab { kTabSmooth = 0, kTabInput = 1, kTabSlice = 2, kTabArea = 3 };

struct CurvControls {
    int SSTab2 = kTabSmooth;  // the tab in front

    // "1a. Smooth and curvature".
    std::string Label1;  // folder of the grid to smooth; digit.dat is read from here
    std::string Text1 = "*.grd";
    std::string txtNoSmooth = "3";
    bool optSmAverage = true;  // otherwise optSmGauss, "Gaussian (v8)"
    std::string txtNoRow = "9";
    std::string txtWeight = "4";
    std::string Text3 = "10";  // all-angles interval in degrees
    std::string txtScaleBar = "0.05";
    std::string Label12;  // the occlusal-vector angle

    // "1b. Input grids".
    std::string Label3;  // folder of the grids made earlier
    std::string Text7 = "*.grd";
    bool chkInputCurvGrid = true;
    std::string txtInputCurvText = "_fwa9,4x3_curv10";
    bool Check1 = false;  // "Plot curv grid"
    std::string txtScaleBarI = "0.05";

    // "2a. Slice curvature".
    std::string Combo1;   // the crest list's text
    std::string Label14;  // the crest code
    bool chkCID = false;
    std::string txtCrestLength = "1.0";
    bool chkAltValuesS = true;
    std::string txtAltS1 = "0.5";
    std::string txtAltS2 = "1.0";
    std::string lblCurrentGridS;
    bool chkCalcSliceAuto = true;
    std::string Label6, Label8;  // least and greatest curvature along the slice
    std::string Label9;          // the lowest threshold of the range
    std::string Text8;           // the start value (the top)
    std::string Text6 = "0.05";  // threshold step
    std::string Text10 = "10";   // number of thresholds

    // "2b. Area curvature".
    bool optAreaSquare = true;  // otherwise optAreaIrreg
    std::string Text5 = "20";   // side of the square, micrometres
    std::string Label25 = "400";
    bool chkAltValues = true;
    std::string txtAlt1 = "50";
    std::string txtAlt2 = "100";
    bool chkUsePrevDig = true;
    bool optUnitsMM = true;  // otherwise optUnitsUM
    std::string Text4;       // tag of an irregular patch
    std::string lblCurrentGridA;
};

// What a step came to.
enum class StepOutcome {
    Done,
    Refused,    // an input was refused with a message; nothing written
    Cancelled,  // the user cancelled a digitise question
    Failed,     // a run-time failure, shown as a message; files already written stay
    Stopped,    // the user pressed Esc between two units; files already written stay
};

} // namespace trelvik::toothfeatures
