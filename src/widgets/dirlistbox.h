#pragma once
// Folder list: shows the chain of folders from the root down to the current folder,
// then the current folder's subfolders. Double-clicking (or Enter on) an entry makes
// it the current folder. path() is the current folder as an absolute, clean path
// (a trailing separator only for the root). Subfolders made or removed on disk appear
// and go by themselves.
#include <QListWidget>

namespace trelvik {

class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);

    QString path() const { return path_; }
    // Makes folder the current folder and emits changed() when it differs. A folder
    // that does not exist is refused (returns false) and the list stays where it was.
    bool setPath(const QString& folder);
    // Re-reads the subfolders of the current folder.
    void refresh();

signals:
    void changed(const QString& path);

private:
    class FolderWatch* watch_ = nullptr;
    QString path_;
};

} // namespace trelvik
