#pragma once
// "Cusp Volume": the volume and positive surface area of one cusp of a tooth grid,
// level by level below the cusp tip, against the basal plane of the tooth. The
// handlers read the controls into a CuspVolControls, run the steps of cuspvol.h and
// show what comes back; the window state lives in a CuspVolState that starts afresh
// with each window.
#include <QWidget>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "toothfeatures/cuspvol.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

class frmCuspVol : public QWidget {
    Q_OBJECT
public:
    frmCuspVol(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    toothfeatures::CuspVolState& state() { return cusp_; }
    // The controls as the steps read them.
    toothfeatures::CuspVolControls controls() const;

    DriveListBox* Drive3;
    DirListBox* Dir3;
    FileListBox* File3;
    QLabel* Label1;
    QPushButton* Command2;
    QLineEdit* Text7;
    QPushButton *Command3, *Command6;
    QCheckBox *chkInputTLFile, *chkReadPlane, *chkPlaneOpt;
    QLineEdit *Text1, *txtPlaneOpt;
    QLabel *Label3, *Label5, *Label7;
    QComboBox* Combo1;
    QLabel* Label14;
    QLineEdit *Text5, *Text10, *Text8;
    QLabel *lblDist, *Label6, *Label8, *Label12, *Label13;
    QPushButton *Command5, *Command11, *Command1, *cmdExit;
    QCheckBox *chkAutoCalc, *Check1;
    QLabel* lblLevelStep;      // the level in hand while "Calculate" runs
    QProgressBar* pbrLevels;

    void Form_Load();
    void Command2_Click();
    void Drive3_Change();
    void Dir3_Change();
    void File3_Click();
    void Command3_Click();
    void Command6_Click();
    void chkReadPlane_Click();
    void Combo1_Click();
    void Text5_Change();
    void Text10_Change();
    void Command5_Click();
    void Command11_Click();
    void Command1_Click();
    void cmdExit_Click();

private:
    void buildControls();
    void showControls(const toothfeatures::CuspVolControls& c);
    // Runs a step on the controls as they stand and shows what it leaves; a step that
    // measures levels shows them on the bar (painting kept up, Esc stops it).
    template <typename Step> void run(Step step, bool levels = false);

    AppState& app_;
    FileChooser files_;
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    toothfeatures::CuspVolState cusp_;
};

} // namespace trelvik
