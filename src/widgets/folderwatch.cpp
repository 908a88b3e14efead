#include "widgets/folderwatch.h"

#include <QFileInfo>

namespace trelvik {

FolderWatch::FolderWatch(QObject* parent, std::function<void()> onChange) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(150);
    connect(&settle_, &QTimer::timeout, this, [fn = std::move(onChange)] { fn(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
}

void FolderWatch::watch(const QString& folder) {
    if (folder == folder_) return;
    if (!folder_.isEmpty()) watcher_.removePath(folder_);
    folder_.clear();
    if (!folder.isEmpty() && QFileInfo(folder).isDir() && watcher_.addPath(folder)) folder_ = folder;
}

} // namespace trelvik
