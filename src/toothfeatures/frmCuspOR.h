#pragma once
// "Calculate average cusp occlusion relief": the mean depth of a groove profile below
// the line of the occlusal vector. The handlers read the controls into a CuspORControls
// and run the steps of cusporsteps.h; the profile lives in a CuspORState that starts
// afresh with each window.
#include <QWidget>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "toothfeatures/cusporsteps.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

class frmCuspOR : public QWidget {
    Q_OBJECT
public:
    frmCuspOR(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    toothfeatures::CuspORState& state() { return cusp_; }
    toothfeatures::CuspORControls controls() const;

    DriveListBox* Drive2;
    DirListBox* Dir2;
    FileListBox* File2;
    QPushButton* DirC;
    QLabel* Label3;
    QLineEdit* Text2;
    QPushButton *cmdDigProf, *cmdDigOccVect, *cmdNextGrid, *cmdExit;
    QLineEdit* Text1;
    QLabel* Label9;
    QLabel* lblStatus;  // names what the last step wrote

    void DirC_Click();
    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void cmdDigProf_Click();
    void cmdDigOccVect_Click();
    void cmdNextGrid_Click();
    void cmdExit_Click();

private:
    template <typename Step> void run(Step step);

    AppState& app_;
    FileChooser files_;  // the label waits for a click in the file list
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    toothfeatures::CuspORState cusp_;
};

} // namespace trelvik
