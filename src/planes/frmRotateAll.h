#pragma once
// "Rotate": turns a tooth grid in space and grids it again. The "Filename" tab enters
// the grid (optionally blanked outside a digitised outline) and offers the interval of
// the new grid; "Rotate by plane" makes a plane from a formula file horizontal; "Rotate
// x or y" turns the grid about the x and y axes by angles in degrees. The handlers read
// the controls into a RotateForm and run the procedures of rotategrid.h; the window
// state lives in a RotateState that starts afresh with each window.
#include <QWidget>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "planes/rotategrid.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

class frmRotateAll : public QWidget {
    Q_OBJECT
public:
    frmRotateAll(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    planes::RotateState& state() { return rot_; }
    planes::RotateForm form() const;

    QTabWidget* SSTab1;
    // "Filename"
    QCheckBox* chkStartSurfer;
    DriveListBox* Drive1;
    DirListBox* Dir1;
    FileListBox* File1;
    QPushButton* DirC;
    QLabel* Label1;
    QLineEdit* Text1;
    QRadioButton *Option1, *Option2, *Option3;
    QLineEdit *Text5, *Text6;
    QLabel *Label5, *Label12, *Label7, *Label13;
    QCheckBox* Check1;
    QPushButton* cmdEnterGrid;
    // "Rotate by plane"
    DriveListBox* Drive2;
    DirListBox* Dir2;
    FileListBox* File2;
    QLabel* Label2;
    QLineEdit* Text2;
    QPushButton *cmdRotPlane, *cmdReset;
    // "Rotate x or y"
    DriveListBox* Drive3;
    DirListBox* Dir3;
    FileListBox* File3;
    QLabel* Label3;
    QLineEdit* Text3;
    QCheckBox *chkXAxis, *chkYAxis;
    QLineEdit *txtXAngle, *txtYAngle;
    QPushButton *RotXY, *cmdReset1;
    // One "Exit" per tab.
    QPushButton *cmdExit1, *cmdExit2, *cmdExit3;
    QLabel* lblStatus;  // names what the last step wrote
    // Under the tabs: the step in hand and its gridding while a button runs.
    QLabel* lblRunStep;
    QProgressBar* pbrRun;

    void Form_Load();
    void cmdReset_Click() { Form_Load(); }
    void cmdReset1_Click() { Form_Load(); }
    void Dir1_Change();
    void Drive1_Change();
    void Dir2_Change();
    void Drive2_Change();
    void Dir3_Change();
    void Drive3_Change();
    void File1_Click();
    void File2_Click();
    void File3_Click();
    void DirC_Click();
    void Option_Click();
    void chkXAxis_Click();
    void chkYAxis_Click();
    void cmdEnterGrid_Click();
    void cmdRotPlane_Click();
    void RotXY_Click();
    void cmdExit();

private:
    void buildFilenameTab();
    void buildPlaneTab();
    void buildAxesTab();
    void connectControls();
    void rebuildOutputName();
    template <typename Step> void run(Step step);
    // Runs a step that writes in `folder` between the two ends of the status line.
    template <typename Step> void runWriting(Step step, const QString& folder);

    AppState& app_;
    FileChooser grid_, plane_, axes_;  // the lists of the three pages
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    planes::RotateState rot_;
};

} // namespace trelvik
