#include "shell/frmDefDir.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "core/error.h"
#include "core/fileroutines.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/drivelistbox.h"

namespace trelvik {

frmDefDir::frmDefDir(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), state_(state), prompt_(prompt) {
    setWindowTitle("Set Default Directory");
    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    lblDefDir = new QLabel(this);
    lblDefDir->setWordWrap(true);
    lblDefDir->setFrameShape(QFrame::Panel);
    lblDefDir->setFrameShadow(QFrame::Sunken);
    DirC = new QPushButton("Dir", this);
    cmdUpdateDefDir = new QPushButton("Update dir and exit", this);

    // Both lists start on the default data directory when it exists (the folder being
    // replaced), otherwise on the process's current folder.
    QString start = QString::fromStdString(state_.DefaultDir);
    if (start.isEmpty() || !QFileInfo(start).isDir()) start = QDir::currentPath();
    Drive1->setDrive(start);
    Dir1->setPath(start);  // the label stays empty: nothing is chosen until the user moves

    auto* grid = new QGridLayout(this);
    grid->addWidget(Drive1, 0, 0);
    grid->addWidget(DirC, 0, 1);
    grid->addWidget(Dir1, 1, 0, 1, 2);
    grid->addWidget(lblDefDir, 2, 0, 1, 2);
    grid->addWidget(cmdUpdateDefDir, 3, 0, 1, 2);

    files_ = FileChooser{Drive1, Dir1, nullptr, nullptr, lblDefDir};
    connect(Drive1, &DriveListBox::changed, this, &frmDefDir::Drive1_Change);
    connect(Dir1, &DirListBox::changed, this, &frmDefDir::Dir1_Change);
    connect(DirC, &QPushButton::clicked, this, &frmDefDir::DirC_Click);
    connect(cmdUpdateDefDir, &QPushButton::clicked, this, &frmDefDir::cmdUpdateDefDir_Click);
}

void frmDefDir::Drive1_Change() { files_.driveChanged(); }

void frmDefDir::Dir1_Change() { files_.folderChanged(); }

void frmDefDir::DirC_Click() {
    std::string d;
    try {
        d = ReadDefaultDir(state_);
    } catch (const Error& e) {
        prompt_.message("", e.what());
        return;
    }
    if (!DirExists(d)) {
        prompt_.message("", "Choose a new default directory and save.");
        return;
    }
    const QString dir = QString::fromStdString(d);
    Drive1->setDrive(dir);
    Dir1->setPath(dir);
    lblDefDir->setText(Dir1->path());
}

void frmDefDir::cmdUpdateDefDir_Click() {
    // Nothing chosen since the window opened: the stored directory stays as it is.
    const std::string folder = lblDefDir->text().toStdString();
    if (!folder.empty()) {
        try {
            UpdateDefaultDir(state_, folder);
        } catch (const Error& e) {
            prompt_.message("", e.what());
            return;
        }
    }
    close();
}

void ShowDefaultDir(AppState& app, DriveListBox* drive, DirListBox* dir, FileListBox* file, QLabel* label) {
    const std::string d = ReadDefaultDir(app);
    const QString folder = QString::fromStdString(d);
    if (!QFileInfo(folder).isDir())
        throw Error("The default directory " + d + " does not exist: choose it again with File > Set default directory.");
    drive->setDrive(folder);
    dir->setPath(folder);
    file->setPath(dir->path());
    label->setText(dir->path());
}

} // namespace trelvik
