#include "widgets/filechooser.h"

#include <QFileInfo>

namespace trelvik {

void FileChooser::build(QWidget* parent, const QString& pattern, const QString& folder) {
    drive = new DriveListBox(parent);
    dir = new DirListBox(parent);
    file = new FileListBox(parent);
    file->setPattern(pattern);
    text = new QLineEdit(pattern, parent);
    // Wide enough for names such as "toothcalcresults.csv" to show whole.
    file->setMinimumWidth(170);
    text->setMinimumWidth(170);
    label = new QLabel(parent);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    if (QFileInfo(folder).isDir()) {
        drive->setDrive(folder);
        dir->setPath(folder);
    }
    file->setPath(dir->path());
    attach(parent);
}

void FileChooser::attach(QObject* context) {
    if (drive) QObject::connect(drive, &DriveListBox::changed, context, [this] { driveChanged(); });
    if (dir) QObject::connect(dir, &DirListBox::changed, context, [this] { folderChanged(); });
    if (file) QObject::connect(file, &FileListBox::clicked, context, [this] { fileClicked(); });
}

void FileChooser::driveChanged() {
    dir->setPath(drive->drive());
    if (label && labelFollowsFolder) label->setText(dir->path());
}

void FileChooser::folderChanged() {
    if (file) file->setPath(dir->path());
    if (label && labelFollowsFolder) label->setText(dir->path());
}

void FileChooser::fileClicked() {
    if (text) text->setText(file->fileName());
    if (label) label->setText(file->path());
}

std::string FileChooser::folder() const {
    const QString shown = label ? label->text() : QString();
    return (shown.isEmpty() ? dir->path() : shown).toStdString();
}

} // namespace trelvik
