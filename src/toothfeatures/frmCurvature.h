#pragma once
// "Curvature": smooths a tooth grid, makes curvature grids from it through the mapping
// program and measures curvature along a digitised crest or over a digitised patch.
// Four tabs: "1a. Smooth and curvature", "1b. Input grids", "2a. Slice curvature",
// "2b. Area curvature". Handlers copy the controls into a CurvControls, run the plain
// step of curvsmooth.h, curvgrids.h, curvslice.h or curvarea.h and show what the step
// left in it; the window state (grids, slice, crest code) lives in a CurvState that
// starts afresh with each window.
#include <QWidget>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "toothfeatures/curvcontrols.h"
#include "toothfeatures/curvstate.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QProgressBar;
class QTabWidget;

namespace trelvik {
class DirListBox;
class DriveListBox;
class FileListBox;
}

namespace trelvik::toothfeatures {

class frmCurvature : public QWidget {
    Q_OBJECT
public:
    frmCurvature(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    CurvState& state() { return state_; }
    // The controls as the steps read them, and the way back.
    CurvControls controls() const;
    void showControls(const CurvControls& c);

    QTabWidget* SSTab2;
    QLabel* lblDescription;

    // "1a. Smooth and curvature".
    DriveListBox* Drive1;
    DirListBox* Dir1;
    FileListBox* File1;
    QLabel* Label1;
    QPushButton* Command10;
    QLineEdit *Text1, *txtNoSmooth, *txtNoRow, *txtWeight;
    QRadioButton *optSmAverage, *optSmGauss;
    QPushButton* Command2;
    QLineEdit *Text3, *txtScaleBar;
    QPushButton *Command4, *Command15;
    QProgressBar* pbrCurve;  // the all-angles directions while "Curvature" runs
    QLabel* lblCurveStep;
    QLabel* Label12;
    QPushButton* Command8;

    // "1b. Input grids".
    DriveListBox* Drive3;
    DirListBox* Dir3;
    FileListBox* File3;
    QLabel* Label3;
    QPushButton* Command12;
    QLineEdit* Text7;
    QPushButton *Command3, *Command6;
    QCheckBox *chkInputCurvGrid, *Check1;
    QLineEdit *txtInputCurvText, *txtScaleBarI;
    QLabel* Label17;
    QPushButton* Command7;

    // "2a. Slice curvature".
    QComboBox* Combo1;
    QLabel* Label14;
    QCheckBox* chkCID;
    QLineEdit* txtCrestLength;
    QCheckBox* chkAltValuesS;
    QLineEdit *txtAltS1, *txtAltS2;
    QLabel* lblCurrentGridS;
    QPushButton* Command5;
    QCheckBox* chkCalcSliceAuto;
    QLabel *Label6, *Label8, *Label9;
    QLineEdit *Text8, *Text6, *Text10;
    QPushButton *Command11, *Command1, *Command9;

    // "2b. Area curvature".
    QRadioButton *optAreaSquare, *optAreaIrreg;
    QLineEdit* Text5;
    QLabel* Label25;
    QCheckBox* chkAltValues;
    QLineEdit *txtAlt1, *txtAlt2;
    QCheckBox* chkUsePrevDig;
    QRadioButton *optUnitsMM, *optUnitsUM;
    QLineEdit* Text4;
    QLabel* lblCurrentGridA;
    QPushButton *Command13, *Command14;

    // Handlers.
    void Form_Load();
    void Command10_Click();
    void Command12_Click();
    void Drive1_Change();
    void Dir1_Change();
    void Drive3_Change();
    void Dir3_Change();
    void File1_Click();
    void File3_Click();
    void File3_DblClick();
    void chkInputCurvGrid_Click();
    void Combo1_Click();
    void Text5_Change();
    void Threshold_Change();  // Text8, Text10 and Text6
    void Command2_Click();    // Smooth
    void Command3_Click();    // Input_Top
    void Command6_Click();    // Input_Curv
    void Command4_Click();    // Curve
    void Command15_Click();   // CurveOVAngle
    void Command5_Click();    // Slice_Grids
    void Command11_Click();   // Calculate
    void Command1_Click();    // Next_Crest
    void Command13_Click();   // Curv_Area
    void Cmd_Exit();

private:
    QWidget* buildSmoothTab();
    QWidget* buildInputTab();
    QWidget* buildSliceTab();
    QWidget* buildAreaTab();
    void connectLists();
    void connectSteps();
    // Default directory into a drive, folder and file list and their label.
    void loadDefaultDir(const FileChooser& lists);
    // Runs a step on the controls and shows what it left; `bar` and `label` show a
    // step that loops (painting kept up, Esc stops it).
    void run(const std::function<StepOutcome(CurvContext&, CurvControls&)>& step, QProgressBar* bar = nullptr,
             QLabel* label = nullptr);

    AppState& app_;
    FileChooser grids_, earlier_;  // the grid to smooth; the grids made earlier
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    CurvState state_;
};

} // namespace trelvik::toothfeatures
