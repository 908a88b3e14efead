#pragma once
// File list: the files of one folder that match a pattern such as "*.grd" or
// "*.txt;*.csv" (case is ignored, as the data often comes from Windows machines).
// clicked() fires when the user selects a file, by mouse or by the arrow keys alike;
// doubleClicked() on a double click; fileName() is the selected file's name without
// folder. The list follows its folder on disk: files written or removed there appear
// and go without a refresh by hand, and the selected file stays selected.
#include <QListWidget>

namespace trelvik {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    QString path() const { return path_; }
    // Lists the files of folder (a missing folder gives an empty list).
    void setPath(const QString& folder);
    QString pattern() const { return pattern_; }
    // Patterns separated by ';' ("*.txt;*.csv"); an empty pattern lists every file.
    void setPattern(const QString& pattern);
    // The selected file's name, or empty when none is selected.
    QString fileName() const;
    // The names listed, in list order.
    QStringList fileNames() const;
    // Selects the named file if listed (no click event); returns whether it was found.
    bool selectFile(const QString& name);
    void refresh();

signals:
    void clicked();
    void doubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class FolderWatch* watch_ = nullptr;
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
};

} // namespace trelvik
