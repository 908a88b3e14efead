#pragma once
// The drive, folder and file lists, file-name box and folder label with which a tool
// window chooses its input files, wired alike in every window:
//   a drive change   moves the folder list to the drive;
//   a folder change  moves the file list to the folder;
//   a file click     puts the file's name into the box and the list's folder into the
//                    label.
// Windows differ in one way, fixed per chooser: whether the label also follows every
// drive and folder change (labelFollowsFolder), or waits for a click in the file list
// so that it always names the folder of the file in the box.
//
// build() makes the controls; attach() wires controls a window made itself. Either
// way the lists' signals reach driveChanged(), folderChanged() and fileClicked(), which
// the windows' own handlers (Drive2_Change, Dir2_Change, File2_Click, ...) hand on to.
// The box and the label may be absent (nullptr).
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <string>

#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"

namespace trelvik {

struct FileChooser {
    DriveListBox* drive = nullptr;
    DirListBox* dir = nullptr;
    FileListBox* file = nullptr;
    QLineEdit* text = nullptr;
    QLabel* label = nullptr;
    bool labelFollowsFolder = true;

    // Builds the controls as children of parent, the file list showing pattern, and
    // wires them; the lists start at folder when it exists.
    void build(QWidget* parent, const QString& pattern, const QString& folder);
    // Wires controls made elsewhere; context (the window) owns the connections.
    void attach(QObject* context);

    void driveChanged();
    void folderChanged();
    void fileClicked();

    // The folder the label shows; the folder list's folder while the label is empty, so
    // that a path is never built from the bare root.
    std::string folder() const;
    std::string name() const { return text ? text->text().toStdString() : std::string(); }
};

} // namespace trelvik
