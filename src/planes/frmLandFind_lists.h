#pragma once
// The drive, folder and file lists, file-name box and folder label that the landmark
// and enamel-outline windows put on each page, built and wired alike: a folder change
// moves the file list and shows the folder in the label, a drive change moves the
// folder list, a click in the file list puts the name into the box and the list's
// folder into the label.
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "core/appstate.h"
#include "shell/frmDefDir.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"

namespace trelvik::planes {

struct FileChooser {
    DriveListBox* drive = nullptr;
    DirListBox* dir = nullptr;
    FileListBox* file = nullptr;
    QLineEdit* text = nullptr;
    QLabel* label = nullptr;

    // Builds the controls as children of parent, the file list showing pattern, and
    // wires them; the lists start at folder when it exists.
    void build(QWidget* parent, const QString& pattern, const QString& folder);

    // The folder the label shows; the folder list's folder while the label is empty, so
    // that a path is never built from the bare root.
    std::string folder() const;
    std::string name() const { return text->text().toStdString(); }

    // ShowDefaultDir on these lists.
    void showDefaultDir(AppState& app) { ShowDefaultDir(app, drive, dir, file, label); }
};

} // namespace trelvik::planes
