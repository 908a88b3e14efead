#pragma once
// Keeps a list widget in step with one folder on disk: when files or subfolders are
// added, removed or renamed there (by this program's own steps or by anything else),
// `onChange` runs once the burst of changes has settled, so a batch that writes
// hundreds of files refreshes its list once, not hundreds of times.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace trelvik {

class FolderWatch : public QObject {
public:
    FolderWatch(QObject* parent, std::function<void()> onChange);
    // Watches this folder from now on (an empty or missing folder: none).
    void watch(const QString& folder);

private:
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString folder_;
};

} // namespace trelvik
