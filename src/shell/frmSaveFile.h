#pragma once
// "Save File": the modal save-file dialog. The caller builds it, may preset Drive1,
// Dir1 and txtFileName, runs exec(), and then uses AppState::SaveFilePath only if
// AppState::SaveFileOK is true. Every showing starts with SaveFileOK false, so a
// dialog closed any way but through OK never reports an earlier success.
#include <QDialog>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "shell/savefilerules.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

class frmSaveFile : public QDialog {
    Q_OBJECT
public:
    frmSaveFile(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* txtFileName;
    QLabel* Label2;
    QComboBox* cmbFileType;
    QLabel* Label3;
    QLabel* lblFolder;
    DirListBox* Dir1;
    FileListBox* File1;
    QLabel* Label4;
    DriveListBox* Drive1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void Drive1_Change();
    void Dir1_Change();
    void cmbFileType_Click();
    void File1_Click();
    void File1_DblClick();
    void cmdOK_Click();
    void cmdCancel_Click();

    // The close box, Esc and Cancel all end here.
    void reject() override;

private:
    SaveFileType chosenType() const;

    AppState& state_;
    Prompt& prompt_;
    FileChooser files_;
};

} // namespace trelvik
