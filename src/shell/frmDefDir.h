#pragma once
// "Set Default Directory": the user picks a folder; "Update dir and exit" stores it
// as line 1 of the settings file, keeping the stored Surfer version.
#include <QWidget>

#include "core/appstate.h"
#include "core/prompt.h"

class QLabel;
class QPushButton;

namespace trelvik {

class DirListBox;
class DriveListBox;

class frmDefDir : public QWidget {
    Q_OBJECT
public:
    frmDefDir(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    DriveListBox* Drive1;
    DirListBox* Dir1;
    QLabel* lblDefDir;
    QPushButton* DirC;
    QPushButton* cmdUpdateDefDir;

    void Drive1_Change();
    void Dir1_Change();
    void DirC_Click();
    void cmdUpdateDefDir_Click();

private:
    AppState& state_;
    Prompt& prompt_;
};

} // namespace trelvik
