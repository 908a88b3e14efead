#pragma once
// "Enamel Outlines": cuts enamel ridge outlines out of a tooth grid and writes them,
// aligned to the tooth's occlusal vector over its levelled basal plane, as point files
// for the contact-analysis program. Handlers read their controls and call the
// procedures of planes/enamel.h; a failure is shown as a message and leaves the window
// open.
#include <QWidget>
#include <functional>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/windowprompt.h"
#include "planes/enamel.h"
#include "shell/frmDefDir.h"
#include "widgets/filechooser.h"

class QProgressBar;
class QPushButton;
class QRadioButton;

namespace trelvik {

class frmEnamOut : public QWidget {
    Q_OBJECT
public:
    frmEnamOut(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    planes::EnamelState& enamel() { return s_; }

    DriveListBox* Drive3;
    DirListBox* Dir3;
    FileListBox* File3;
    QLabel* Label1;
    QPushButton* Command2;
    QLineEdit* Text7;
    QPushButton *cmdInputTopo, *cmdInputPlane, *cmdDigOccVect, *cmdDigEnamOut, *cmdTransform, *cmdExit;
    QLabel* lblInUse;  // the grid and plane of the tooth in hand
    QLabel *lblXValue, *lblYValue, *lblCValue;
    QLabel* lblSegStep;  // the segment in hand while "Digitise outline(s)" runs
    QProgressBar* pbrSegments;
    QLineEdit* txtNoSeg;
    QRadioButton *optUpper, *optLower;
    QLabel* lblStatus;  // names what the last step wrote

    void Form_Load();
    void Drive3_Change() { lists_.driveChanged(); }
    void Dir3_Change() { lists_.folderChanged(); }
    void File3_Click() { lists_.fileClicked(); }
    void File3_DblClick();
    void Command2_Click();
    void cmdInputTopo_Click();
    void cmdInputPlane_Click();
    void cmdDigOccVect_Click();
    void cmdDigEnamOut_Click();
    void cmdTransform_Click();
    void cmdExit_Click();

private:
    void guarded(const std::function<void()>& step);
    void showInUse();

    AppState& app_;
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    planes::EnamelState s_;
    FileChooser lists_;
};

} // namespace trelvik
