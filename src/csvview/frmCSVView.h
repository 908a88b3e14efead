#pragma once
// "CSV Viewer": reads lattice point files into the current grid, shows it in grey,
// copies it into the working grid that the surface analyses read, and shows their
// results in the processed view and four result views. Handlers read their controls
// into plain option structs, call the computations of this folder and show what
// comes back; errors are shown through the Prompt and leave the window open.
//
// Controls keep their design names. Those of the patch count, folder batches,
// multi-tooth files, filters, rotation, outputs and the VRML view are laid out and
// disabled until their commands exist.
#include <QWidget>

#include <array>
#include <string>

#include "core/appstate.h"
#include "core/points.h"
#include "core/prompt.h"
#include "csvview/latticegrid.h"
#include "csvview/resultsfolder.h"
#include "csvview/slopeanalysis.h"
#include "csvview/viewgrids.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTabWidget;

namespace trelvik {
class DirListBox;
class DriveListBox;
class FileListBox;
}

namespace trelvik::csvview {

class CsvPictureBox;

class frmCSVView : public QWidget {
    Q_OBJECT
public:
    frmCSVView(AppState& state, Prompt& prompt, QWidget* parent = nullptr);
    ~frmCSVView() override;

    // ---- frame: file choice and reading
    DriveListBox* Drive1;
    DirListBox* Dir1;
    FileListBox* File1;
    QLabel* Path;
    QLineEdit* Text1;
    QPushButton *Command3, *cmdReadCSV, *cmdViewCSV, *cmdExit;
    QCheckBox *chkViewOnClick, *chkOrigModelFile;

    // ---- views and read-outs
    CsvPictureBox *picBoxD, *picBoxW, *picBoxP;
    std::array<CsvPictureBox*, 4> picBoxI;
    QLabel *lblX_D, *lblY_D, *lblZ_D, *lblXR_D, *lblYR_D, *lblZR_D;
    QLabel *lblX_W, *lblY_W, *lblZ_W, *lblXR_W, *lblYR_W, *lblZR_W;
    QLabel *lblX_P, *lblY_P, *lblZ_P, *lblXR_P, *lblYR_P, *lblZR_P;
    QPushButton* cmdICopy;
    QComboBox *cmbPicBoxCopyFrom, *cmbPicBoxCopyTo;
    QPushButton* cmdCopyPicBox;
    QGroupBox* fraVRML;  // the 3-D view of the current grid
    QPushButton* cmdCopyWRL;

    QTabWidget* SSTab1;

    // ---- "Orient / slope"
    QRadioButton *optProcSlope, *optProcAspect, *optProcAngular, *optProcShadRel;
    QCheckBox* chkUseMinSlope;
    QLineEdit *txtMinSlope, *txtSlopeNoCat, *txtAspectNoCat, *txtAngularNoCat;
    QCheckBox *chkAspectSlopeSaveStats, *chkAspectSlopeSaveData, *chkAspectSlopeSaveImage;
    QPushButton *cmdProcAspectSlope, *cmdProcAspectSlopeAllFiles;
    QLineEdit *txtSRHoriz, *txtSRVert, *txtSRb, *txtSRw;
    QScrollBar *vscSRHoriz, *vscSRVert, *vscSRb, *vscSRw;
    QGroupBox* fraClump;
    QRadioButton *optClumpAspectSlope, *optClumpContour, *optClumpCurrentView;
    QLineEdit *txtMinClumpSize, *txtNoOPCRot;
    QCheckBox *chkOPCR, *chkVoidHoriz, *chkClumpSingResFile, *chkClumpSaveImage;
    QLabel *lblNoClumps, *lblPDClumped, *lblClumpNameID;
    QPushButton *cmdProcClump, *cmdProcClumpAllFiles;

    // ---- "Contour / proc."
    QPushButton* cmdShannonInfo;
    QLabel* lblShannonInfo;
    QGroupBox* fraProc;
    QPushButton *cmdILaPlacian, *cmdIProc2, *cmdIProc3;
    QComboBox* cmbKernelSize;
    QRadioButton *optCMinNA, *optCMinAbs, *optCMinProp, *optCDiffNA, *optCDiffAbs, *optCDiffProp;
    QLineEdit *txtCMinAbs, *txtCMinProp, *txtCDiffAbs, *txtCDiffProp;
    QPushButton *cmdImageOutput, *cmdImageProcOutput;
    QLineEdit* txtImageProcExportAddText;
    QRadioButton *optContourScaleZ, *optContourScaleR;
    QLineEdit *txtContourScaleZ, *txtContourScaleR;
    QCheckBox* chkContourSaveImage;
    QPushButton *cmdProcContour, *cmdProcContourAllFiles;
    QPushButton *cmdCalcSAVolStats, *cmdCalcSAVolStatsAllFiles;
    QCheckBox* chkSAVolSaveStats;
    QLabel *txtSA, *txtPA, *txtRI, *txtVol, *txtSAVolRat;

    // ---- "CSV view + process"
    QGroupBox* Frame4;
    QRadioButton *optDefaultGridSize, *optMinGridSize, *optMinGridSize1, *optOtherGridSize;
    QLineEdit *txtGridSizeX, *txtGridSizeY;
    QCheckBox* chkThresholdB;
    QLineEdit* txtThresholdB;
    QPushButton *cmdRotateCW, *cmdRotateACW, *cmdRotate180, *cmdMirrorHoriz, *cmdMirrorVert;
    QPushButton* cmdOutputCSV;

    // ---- "Multi-tooth files"
    QGroupBox* fraMultiTooth;
    QPushButton *cmdReadMultiCSV, *cmdViewMultiCSV;
    QLineEdit* txtMTAIF;
    QCheckBox *chkSplitMTAIF, *chkZScaleAllT;
    QLabel *lblNoTeeth, *txtCurrTooth;
    QRadioButton *optViewTeethAll, *optViewTeethSubset, *optViewTeethOne;
    QLineEdit *txtViewTeethStart, *txtViewTeethEnd, *txtViewTeethOne, *txtPause;
    std::array<QLineEdit*, 11> txtParam;
    QSlider* sldToothNo;
    QGroupBox* fraOutput;
    QPushButton *cmdOutputSingleCSV, *cmdOutputSingleTIF, *cmdOutputSingleWRL, *cmdOutputMultiCSV,
        *cmdOutputMultiTIF;

    // ---- "Multi-tooth stats"
    QGroupBox *fraCalcStats, *fraCTFiles;
    QCheckBox *chkCSMaxHt, *chkCSSA, *chkCSVol, *chkCSSAVolRat, *chkCSLaP, *chkCSSort, *chkCSShowSorted;
    QPushButton *cmdCalcStatsAll, *cmdCSSort, *Command1;
    QRadioButton *optCSMaxHtSort, *optCSSASort, *optCSVolSort, *optCSSAVolRatSort, *optCSLaPSort;
    QCheckBox* chkCTFilesAll;
    QLineEdit* txtCTFENo;
    QLabel *txtTempCTFiles, *txtExtractTotal, *txtExtractCurr;
    QPushButton *cmdCTFiles, *cmdCTFExtract;

    // ---- handlers
    void Command3_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void cmdReadCSV_Click();
    void cmdViewCSV_Click();
    void ClearPicBox();
    void cmdICopy_Click();
    void DrawGridToPicBoxW();
    void ViewICSV(int view, int source);
    void DisplayResultsIPicBox(int layer, int view);
    void cmdCopyPicBox_Click();
    void CopyPicBoxProc(int from, int to);
    void picBoxD_MouseMove(int x, int y);
    void picBoxW_MouseMove(int x, int y);
    void picBoxP_MouseMove(int x, int y);
    void cmdProcAspectSlope_Click();
    void DrawProcessedGrid();
    void cmdProcContour_Click();
    void cmdShannonInfo_Click();
    void cmdCalcSAVolStats_Click();
    void cmdExit_Click();

    // ---- state, for the later commands of the window and for tests
    CurrentGrid& currentGrid() { return CurrentGrid_; }
    ViewerViews& views() { return views_; }
    const SlopeGrids& slopeGrids() const { return slopeGrids_; }
    const std::string& procMode() const { return ProcMode_; }
    bool slopeResultsReady() const { return SlopeResultsReady_; }
    const std::string& lastBitmap() const { return lastBitmap_; }
    bool ViewerEnabled = false;
    bool AllFilesRunning = false;
    bool AllFilesStarted = false;

private:
    void buildFrame();
    QWidget* buildOrientSlopePage();
    QWidget* buildContourPage();
    QWidget* buildCsvViewPage();
    QWidget* buildMultiToothPage();
    QWidget* buildMultiStatsPage();
    void Form_Load();
    void connectHandlers();
    void pairScrollBar(QLineEdit* box, QScrollBar* bar, bool textMovesBar);
    void showCurrentView();
    void showWorkingView();
    void showProcessedView();
    void showResultView(int view);
    void showAllViews();
    // Runs a handler body; a trelvik::Error (or any failure) is shown as a message.
    template <class F>
    void guarded(F&& body);
    SlopeChoice slopeChoice() const;
    RunContext runContext() const;

    AppState& state_;
    Prompt& prompt_;
    CurrentGrid CurrentGrid_;
    PointList GridPoints_;
    ViewerViews views_;
    SlopeGrids slopeGrids_;
    std::string ProcMode_;
    bool SlopeResultsReady_ = false;
    bool SlopeRunning_ = false;
    bool ContourRun_ = false;
    std::string lastBitmap_;
};

} // namespace trelvik::csvview
