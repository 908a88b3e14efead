#include "shell/frmSaveFile.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"

namespace trelvik {

frmSaveFile::frmSaveFile(AppState& state, Prompt& prompt, QWidget* parent)
    : QDialog(parent), state_(state), prompt_(prompt) {
    setWindowTitle("Save File");
    setModal(true);

    Label1 = new QLabel("File name:", this);
    txtFileName = new QLineEdit(this);
    Label2 = new QLabel("List files of type:", this);
    cmbFileType = new QComboBox(this);
    for (const std::string& item : saveFileTypeItems())
        cmbFileType->addItem(QString::fromStdString(item));
    Label3 = new QLabel("Folders:", this);
    lblFolder = new QLabel(this);
    lblFolder->setWordWrap(true);
    Dir1 = new DirListBox(this);
    File1 = new FileListBox(this);
    Label4 = new QLabel("Drives:", this);
    Drive1 = new DriveListBox(this);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(txtFileName, 1, 0);
    grid->addWidget(File1, 2, 0);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(cmbFileType, 4, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(lblFolder, 1, 1);
    grid->addWidget(Dir1, 2, 1);
    grid->addWidget(Label4, 3, 1);
    grid->addWidget(Drive1, 4, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 3, 1);

    // A fresh outcome for every showing.
    state_.SaveFileOK = false;

    // Starts in the program's own folder, type "*.csv", the list showing the csv files
    // the type box announces.
    const QString programDir = QString::fromStdString(state_.ProgramDir);
    Drive1->setDrive(programDir);
    Dir1->setPath(programDir);
    File1->setPath(Dir1->path());
    lblFolder->setText(File1->path());
    cmbFileType->setCurrentIndex(static_cast<int>(SaveFileType::Csv));
    cmbFileType_Click();
    prompt_.busy(false);

    // The label names the folder the file will go to; it follows every move.
    files_ = FileChooser{Drive1, Dir1, File1, txtFileName, lblFolder};
    connect(Drive1, &DriveListBox::changed, this, &frmSaveFile::Drive1_Change);
    connect(Dir1, &DirListBox::changed, this, &frmSaveFile::Dir1_Change);
    connect(cmbFileType, &QComboBox::activated, this, &frmSaveFile::cmbFileType_Click);
    connect(File1, &FileListBox::clicked, this, &frmSaveFile::File1_Click);
    connect(File1, &FileListBox::doubleClicked, this, &frmSaveFile::File1_DblClick);
    connect(cmdOK, &QPushButton::clicked, this, &frmSaveFile::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSaveFile::cmdCancel_Click);
}

SaveFileType frmSaveFile::chosenType() const {
    const int i = cmbFileType->currentIndex();
    return i < 0 ? SaveFileType::All : static_cast<SaveFileType>(i);
}

void frmSaveFile::Drive1_Change() { files_.driveChanged(); }

void frmSaveFile::Dir1_Change() { files_.folderChanged(); }

void frmSaveFile::cmbFileType_Click() {
    File1->setPattern(QString::fromStdString(saveFilePattern(chosenType())));
}

void frmSaveFile::File1_Click() { files_.fileClicked(); }

void frmSaveFile::File1_DblClick() {
    txtFileName->setText(File1->fileName());
    cmdOK_Click();
}

void frmSaveFile::cmdOK_Click() {
    state_.SaveFileOK = false;
    const auto choice = acceptSaveFileName(Dir1->path().toStdString(),
                                           txtFileName->text().toStdString(), chosenType(),
                                           prompt_);
    if (!choice) return;
    txtFileName->setText(QString::fromStdString(choice->name));
    state_.SaveFilePath = choice->path;
    state_.SaveFileOK = true;
    accept();
}

void frmSaveFile::cmdCancel_Click() {
    reject();
}

void frmSaveFile::reject() {
    state_.SaveFileOK = false;
    QDialog::reject();
}

} // namespace trelvik
