#pragma once
// State that lives for the whole run, under the names the tool windows know it by.
// One AppState exists per run; windows and procedures receive it by reference.
#include <memory>
#include <string>
#include <vector>

namespace surfer { class Application; }

namespace trelvik {

struct AppState {
    // Settings file: line 1 and line 2 as last read or written.
    std::string DefaultDir;
    std::string SurferVersion;  // "SurferV6" or "SurferV8" once derived from the menu tick

    // The main window's version ticks and process-identifier controls; the window
    // keeps these in step with its menu and boxes so that plain procedures can read them.
    bool mnuSurf6Checked = false;
    bool mnuSurf8Checked = true;
    bool chkSurferPID = false;
    std::string txtSurferPID;

    // Surfer reference shared by the grid-geometry scan and the grid functions window.
    std::shared_ptr<surfer::Application> SurferApp;

    // Last grid geometry left by ReadGridGeometry.
    long GridCols = 0, GridRows = 0;
    double GridXMin = 0, GridXMax = 0, GridYMin = 0, GridYMax = 0;
    double GridZMin = 0, GridZMax = 0, GridXSpacing = 0, GridYSpacing = 0;

    // Last summary statistics left by CalcSummaryStats.
    double StatMean = 0, StatSD = 0, StatMin = 0, StatMax = 0, StatMedian = 0, StatQ1 = 0, StatQ3 = 0;

    // Last point bounds left by CalcPointBounds.
    double PtXMin = 0, PtYMin = 0, PtZMin = 0, PtXMax = 0, PtYMax = 0, PtZMax = 0;

    // Last histogram left by CalcHistogram: Hist[k][1] lower edge, Hist[k][2] count, k = 0..B.
    std::vector<std::vector<double>> Hist;

    // Outcome of the last save-file dialog.
    bool SaveFileOK = false;
    std::string SaveFilePath;

    // Folder of the settings file (the executable's folder); tests point it elsewhere.
    std::string ProgramDir;
};

} // namespace trelvik
