#pragma once
// "CSV Viewer": reads lattice point files into the current grid, shows it in grey,
// copies it into the working grid that the surface analyses read, and shows their
// results in the processed view and four result views. Handlers read their controls
// into plain option structs, call the computations of this folder and show what
// comes back; errors are shown through the Prompt and leave the window open.
//
// Controls keep their design names. The handlers live in frmCSVView_*.cpp by topic:
// reading and analyses, patch count and folder batches, multi-tooth files with their
// statistics and outputs, filters with rotation and the VRML files.
#include <QWidget>

#include <array>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/points.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "csvview/latticegrid.h"
#include "csvview/multitooth.h"
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
class QScrollArea;
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
class frmVrmlView;
struct OpcResult;
struct BatchFileResult;
struct ToothStatsTable;
struct ToothOutput;
enum class AllFilesMode;

class frmCSVView : public QWidget {
    Q_OBJECT
public:
    frmCSVView(AppState& state, Prompt& prompt, QWidget* parent = nullptr);
    ~frmCSVView() override;
    // The size the window opens at where the screen has room for it; a smaller screen's
    // free area bounds it.
    QSize designSize() const;

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
    frmVrmlView* Cortona1;
    QPushButton *cmdCopyWRL, *cmdVrmlFit;

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
    // Empties the read-outs of the current, working and processed views: after a read
    // they would still show the previous file's values.
    void clearReadouts();
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
    // With `files`, the picture it saves joins that set, and a failure to write it is
    // thrown (once the view is shown) rather than shown.
    void DrawProcessedGrid(StagedFiles* files = nullptr);
    void cmdProcContour_Click();
    void cmdShannonInfo_Click();
    void cmdCalcSAVolStats_Click();
    void cmdExit_Click();

    // patch count and folder batches
    void UpdateClumpNameID();
    void cmdProcClump_Click();
    void cmdProcClumpAllFiles_Click();
    void cmdProcAspectSlopeAllFiles_Click();
    void cmdProcContourAllFiles_Click();
    void cmdCalcSAVolStatsAllFiles_Click();
    void ProcessAllFiles(AllFilesMode mode);

    // multi-tooth files, per-tooth statistics, tooth outputs
    void cmdReadMultiCSV_Click();
    void cmdViewMultiCSV_Click();
    void sldToothNo_Change();
    void chkZScaleAllT_Click();
    void chkCSSAVolRat_Click();
    void cmdCalcStatsAll_Click();
    void cmdCSSort_Click();
    void cmdOutputSingleCSV_Click();
    void cmdOutputSingleTIF_Click();
    void cmdOutputMultiCSV_Click();
    void cmdOutputSingleWRL_Click();
    void cmdCTFiles_Click();
    void cmdCTFExtract_Click();

    // filters, image output, rotation, CSV and VRML output
    void cmdILaPlacian_Click();
    void cmdIProc2_Click();
    void cmdIProc3_Click();
    void cmdImageOutput_Click();
    void cmdImageProcOutput_Click();
    void cmdRotateCW_Click();
    void cmdRotateACW_Click();
    void cmdRotate180_Click();
    void cmdMirrorHoriz_Click();
    void cmdMirrorVert_Click();
    void cmdOutputCSV_Click();
    void cmdCopyWRL_Click();

    // ---- state, for the later commands of the window and for tests
    CurrentGrid& currentGrid() { return CurrentGrid_; }
    ViewerViews& views() { return views_; }
    const SlopeGrids& slopeGrids() const { return slopeGrids_; }
    const std::string& procMode() const { return ProcMode_; }
    bool slopeResultsReady() const { return SlopeResultsReady_; }
    const std::string& lastBitmap() const { return lastBitmap_; }
    const MultiToothStore& teeth() const { return store_; }
    const ToothViewState& toothView() const { return toothView_; }
    bool ViewerEnabled = false;
    bool AllFilesRunning = false;
    bool AllFilesStarted = false;
    // Folder of the tooth files (csv, bitmap, wrl); empty: the multi-tooth file's folder.
    std::string toothOutputFolder;
    // Opens a written VRML file in the desktop's viewer; tests replace it.
    std::function<void(const std::string&)> openInBrowser;
    // Shows the save window preset with `fileName`; true when a path was chosen
    // (AppState::SaveFilePath). Tests may replace it.
    std::function<bool(const std::string& fileName)> runSaveFile;

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
    SlopeOptions slopeOptions() const;
    SizeOption sizeOption() const;
    RunContext runContext() const;
    // True when every text that goes into a file name may stand there.
    bool namesUsable(std::initializer_list<const QLineEdit*> boxes);
    // Says that a button needs a grid read first.
    void sayNoGridRead();
    // Says that a button needs a multi-tooth file read first.
    void sayNoTeethRead();
    // Rotates or mirrors the current grid, redrawing its view if it is shown.
    void turnCurrent(bool (*turn)(CurrentGrid&));
    void showOpcResult(const OpcResult& r, StagedFiles* files = nullptr);
    void showBatchFile(const BatchFileResult& f, AllFilesMode mode);
    void showTooth(long t, bool present);
    void viewTeeth(std::optional<long> sliderTooth);
    void setSliderQuietly(long value);
    ToothOutput toothOutput(long t) const;
    // The tooth named in txtCurrTooth made the current tooth, when it is present.
    std::optional<ToothOutput> boxToothOutput();
    std::string outputFolder();
    bool showSaveFile(const std::string& fileName);
    void connectLaterHandlers();

    AppState& state_;
    Prompt& prompt_;
    FileChooser files_;
    QScrollArea* scroll_ = nullptr;  // holds everything the window shows
    CurrentGrid CurrentGrid_;
    PointList GridPoints_;
    ViewerViews views_;
    SlopeGrids slopeGrids_;
    std::string ProcMode_;
    bool SlopeResultsReady_ = false;
    bool SlopeRunning_ = false;
    bool ContourRun_ = false;
    std::string lastBitmap_;
    MultiToothStore store_;
    ToothViewState toothView_;
    std::unique_ptr<ToothStatsTable> toothStats_;
    // Cusp thresholds of the "Proc" frame, kept between runs.
    struct Threshold {
        double value = 0, proportion = 0, absolute = 0;
    };
    Threshold hmin_, hdiff_;
};

template <class F>
void frmCSVView::guarded(F&& body) {
    const StepScope step(prompt_);
    try {
        body();
    } catch (const std::exception& e) {
        prompt_.busy(false);
        prompt_.message("", e.what());
    }
}

} // namespace trelvik::csvview
