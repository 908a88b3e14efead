#include "planes/frmLandFind_lists.h"

#include <QFileInfo>

#include "core/error.h"
#include "shell/settings.h"

namespace trelvik::planes {

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
    QObject::connect(dir, &DirListBox::changed, parent, [this] {
        file->setPath(dir->path());
        label->setText(dir->path());
    });
    QObject::connect(drive, &DriveListBox::changed, parent, [this] { dir->setPath(drive->drive()); });
    QObject::connect(file, &FileListBox::clicked, parent, [this] {
        text->setText(file->fileName());
        label->setText(file->path());
    });
}

std::string FileChooser::folder() const {
    const QString shown = label->text();
    return (shown.isEmpty() ? dir->path() : shown).toStdString();
}

} // namespace trelvik::planes
