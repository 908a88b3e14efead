#pragma once
// "Set Default Directory": the user picks a folder; "Update dir and exit" stores it
// as line 1 of the settings file, keeping the stored Surfer version.
#include <QWidget>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"

class QLabel;
class QPushButton;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

// The "Dir" button of every tool window: the default directory, read afresh from the
// settings file, into the window's drive, folder and file lists and its folder label.
// Throws trelvik::Error when the settings cannot be read or the folder no longer exists;
// nothing is moved then.
void ShowDefaultDir(AppState& app, DriveListBox* drive, DirListBox* dir, FileListBox* file, QLabel* label);
inline void ShowDefaultDir(AppState& app, const FileChooser& c) { ShowDefaultDir(app, c.drive, c.dir, c.file, c.label); }

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
    FileChooser files_;
};

} // namespace trelvik
