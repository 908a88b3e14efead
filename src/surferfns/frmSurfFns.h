#pragma once
// "Surfer Functions": collects a list of grid files and runs one mapping-program
// operation at a time over the whole list, writing each output beside its input and
// plotting it. The list, FileIndex and the window geometry live in a SurfFnsState that
// starts afresh with each window; handlers read their controls into a SurfFnsContext
// and call the plain procedures of this folder.
//
// Other windows load this one without showing it and call PlotSurfer (after
// cmdPresetA_Click, or with opt3DSurface selected); the map options they read are the
// public controls below.
#include <QSize>
#include <QWidget>

#include <functional>
#include <array>
#include <string>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "surferfns/surffnsstate.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

class frmSurfFns : public QWidget {
    Q_OBJECT
public:
    frmSurfFns(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    // The size the window opens at, fitted to the screen's free area when that is smaller.
    static constexpr QSize kDesignSize{1229, 880};

    // The window state (list, FileIndex, PlotType, geometry).
    surffns::SurfFnsState& state() { return surf_; }
    // The controls' values as the procedures read them.
    surffns::SurfFnsContext context();

    // Adds one map to the mapping program's plot (see surferfns/plotsurfer.h). Throws
    // trelvik::Error on failure; the caller shows it.
    void PlotSurfer(const std::string& GridFilename, int PlotType);

    // Grid list and batch frame.
    DriveListBox* Drive2;
    DirListBox* Dir2;
    FileListBox* File2;
    QLabel* Label2;
    QPushButton* DirC;
    QLineEdit* Text2;
    QComboBox* cmbFileType;
    QPushButton *cmdRefreshDir, *cmdAddFilename, *cmdAddAllFilenames, *cmdClearFilenames, *cmdExit;
    QLabel* txtNoFiles;
    QLabel* lblDescription;
    QCheckBox *chkClearFilenames, *chkStartSurfer;
    // Progress of a batch: its step ("grid 3 of 20: smoothing") and bar, shown while it
    // runs; Esc stops it between grids.
    QLabel* lblBatchStep;
    QProgressBar* pbrBatch;

    // "Plot output".
    QGroupBox* fraPlot;
    QCheckBox *chkPlotSurfer, *chkShowAxes, *chkLabelSurfer, *chkScaleBar;
    QRadioButton *optRelief, *optContour, *optImage, *opt3DSurface;
    QLineEdit *txtScaleBar, *txtNoInPlotRow, *txtPlotSpacX, *txtPlotSpacY;
    QLineEdit *txtAzimuth, *txtZenith, *txtRot, *txtTilt;
    QRadioButton *optProjP, *optProjO;
    QPushButton *cmdPresetA, *cmdPresetD, *cmdPlotGrid;

    // "Digitise and blank area".
    QGroupBox* fraBlank;
    QRadioButton *optBlankOutside, *optBlankInside, *optBlankMultiInside, *optBlankMultiTeeth;
    std::array<QCheckBox*, 12> chkTeeth{};
    QCheckBox *chkMultiBlankRegrid, *chkBlankUseBlnFile;
    QLineEdit* txtBlankDelChar;
    QPushButton* cmdBlank;

    // "Extract smaller grid".
    QGroupBox* fraExtract;
    QCheckBox *chkRedArea, *chkRedRow;
    QRadioButton *optRedAreaDig, *optRedAreaMax, *optRedRowFactor, *optRedRowMax;
    QLineEdit *txtRedRowFactor, *txtRedRowMax;
    QPushButton* cmdExtract;

    // "Calculate".
    QGroupBox* fraCalculate;
    QPushButton *cmdFixResolution, *cmdSAVol;

    // "Regrid at exact resolution" and "Rezero grid".
    QGroupBox *fraRegrid, *fraRezero;
    QLineEdit *txtExactNoRC, *txtRegridDelChar;
    QRadioButton *optExactNoRC, *optExactNoR, *optExactNoC, *optRegridGrd, *optRegridTxt;
    QCheckBox* chkRegridIndivTeeth;
    QPushButton *cmdRegridExactResol, *cmdReZero;

    // "Smooth grid", "Process grid", "Compare two grids".
    QGroupBox *fraSmooth, *fraProcess, *fraCompare;
    QLineEdit *txtFilterSize, *txtWeight, *txtCWeight, *txtNoTimes;
    QRadioButton *optDefFilter, *optPDFilter;
    QComboBox* cmbPDFilter;
    QCheckBox* chkCurvature;
    QPushButton* cmdSmooth;
    QRadioButton *optMirror, *optRotate, *optTerrain, *optInverse, *optMouldRotate;
    QRadioButton *optMirrorX, *optMirrorY, *optMirrorZ, *optRotate90, *optRotate180, *optRotate270;
    QComboBox* cmbProcess;
    QLineEdit* txtTAMinSlope;
    QPushButton* cmdProcess;
    QRadioButton *optCompareMax, *optCompareMin;
    QLineEdit* txtCompGridOutGridText;
    QPushButton* cmdCompareGrids;

    // Handlers.
    void Form_Load();
    void cmbFileType_Click();
    void cmdRefreshDir_Click();
    void DirC_Click();
    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void File2_DblClick();
    void cmdAddFilename_Click();
    void cmdAddAllFilenames_Click();
    void cmdClearFilenames_Click();
    void cmdExit_Click();
    void cmdPresetA_Click();
    void cmdPresetD_Click();
    void cmdPlotGrid_Click();
    void cmdBlank_Click();
    void cmdExtract_Click();
    void cmdFixResolution_Click();
    void cmdSAVol_Click();
    void cmdRegridExactResol_Click();
    void cmdReZero_Click();
    void chkCurvature_Click();
    void cmdSmooth_Click();
    void cmdProcess_Click();
    void cmdCompareGrids_Click();

private:
    QWidget* buildListFrame();
    QGroupBox* buildPlotFrame();
    QGroupBox* buildBlankFrame();
    QGroupBox* buildExtractFrame();
    QGroupBox* buildCalculateFrame();
    QGroupBox* buildRegridFrame();
    QGroupBox* buildRezeroFrame();
    QGroupBox* buildSmoothFrame();
    QGroupBox* buildProcessFrame();
    QGroupBox* buildCompareFrame();
    void connectList();
    void connectPlot();
    void connectOperations();
    // Copies what a procedure changed back into the controls (count, file name).
    void showState(const surffns::SurfFnsContext& ctx);
    // Runs one batch with the progress bar and step shown, Esc routed to ctx.progress
    // and the window's other input held off.
    void runBatch(surffns::SurfFnsContext& ctx, const std::function<void()>& body);
    surffns::PlotOptions plotOptions() const;

    AppState& app_;
    FileChooser files_;
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    surffns::SurfFnsState surf_;
};

} // namespace trelvik
