#pragma once
// "Point Clouds": a list of point files (or grids made from them) and the commands that
// work on it - undercut removal, blanking outlines, enamel thickness, colour-mapped VRML,
// joining, tip calibration, and blanking, extraction and plotting of grids through the
// mapping program. Handlers read their controls into the option structs of the plain
// procedures in this folder and show what comes back; the point loops move the progress
// read-outs, and Esc stops them.
#include <QWidget>
#include <functional>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "pointclouds/ptcloudlist.h"

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

class frmPtCloud : public QWidget {
    Q_OBJECT
public:
    frmPtCloud(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    ptcloud::PtCloudList& list() { return list_; }

    // Input.
    QLabel *Label5, *Label2, *Label3, *Label15, *txtNoFiles;
    DriveListBox* Drive2;
    DirListBox* Dir2;
    FileListBox* File2;
    QPushButton *DirC, *cmdAddFilename, *cmdClearFilenames, *cmdExit;
    QLineEdit* Text2;
    QComboBox* cmbFileType;

    // "Blanking outline".
    QGroupBox* fraBlankingOutline;
    QCheckBox* chkBlankedAreaPts;
    QLabel* Label20;
    QLineEdit* txtBlnBinSize;
    QPushButton* cmdCreateBlankingFile;

    // "Remove undercuts", "Advanced settings", "Method".
    QGroupBox *fraRemoveUndercuts, *fraAdvanced, *fraMethod;
    QCheckBox *chkDefaultSet, *chkFindNeigh, *chkWriteRej, *chkMould;
    QRadioButton *optThresh, *optProp;
    QLineEdit *txtThresh, *txtProp, *txtSearchRadiusInc, *txtBinSize, *txtSearchRadius;
    QLabel *txtSearchRadInc, *Label7, *Label9, *Label10, *Label12, *txtNoPts, *txtNoPtsPrcd;
    QPushButton* cmdRemoveUndercuts;
    QProgressBar* pbarPtsPrcd;

    // "Enamel thickness".
    QGroupBox* fraEnamel;
    QLabel *Label17, *Label18, *Label19;
    QLineEdit* txtBinSizeE;
    QPushButton *cmdEnamThickCalc, *cmdPointsToWrl;
    QRadioButton *optXYZT, *optXYZ;
    QCheckBox* chkOnlyPolyPts;

    // Joining and tip calibration.
    QPushButton *cmdJoinFiles, *cmdTipCal;
    QCheckBox* chkReZero;
    QLabel* Label16;
    QComboBox* cmbTipNo;
    QLineEdit *txtTipCalX, *txtTipCalY, *txtTipCalZ;

    // Grid steps.
    QCheckBox* chkStartSurfer;
    QGroupBox *fraBlankArea, *fraExtract, *fraPlot;
    QRadioButton *optBlankOutside, *optBlankInside, *optRelief, *optContour;
    QPushButton *cmdBlank, *cmdExtract;
    QCheckBox *chkRedArea, *chkRedRow, *chkPlotSurfer, *chkLabelSurfer;
    QLineEdit* txtRedRow;

    // Handlers.
    void Form_Load();
    void DirC_Click();
    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void File2_DblClick();
    void cmbFileType_Click();
    void chkDefaultSet_Click();
    void cmdAddFilename_Click();
    void cmdClearFilenames_Click();
    void cmdExit_Click();
    void cmdCreateBlankingFile_Click();
    void cmdRemoveUndercuts_Click();
    void cmdEnamThickCalc_Click();
    void cmdPointsToWrl_Click();
    void cmdJoinFiles_Click();
    void cmbTipNo_Click();
    void cmdTipCal_Click();
    void cmdBlank_Click();
    void cmdExtract_Click();

private:
    QWidget* buildInput();
    QGroupBox* buildOutline();
    QGroupBox* buildUndercuts();
    QGroupBox* buildEnamel();
    QWidget* buildJoinTip();
    QWidget* buildGrids();
    void connectHandlers();
    ptcloud::PtCloudContext context(ptcloud::CloudProgress& progress);
    // Runs a command with the read-outs following it (and the bar shown, for the point
    // loops of undercut removal, enamel thickness and the VRML conversion).
    void withProgress(const std::function<void(ptcloud::CloudProgress&)>& run, bool bar = true);
    void showCount();

    AppState& app_;
    FileChooser files_;
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    ptcloud::PtCloudList list_;
};

} // namespace trelvik
