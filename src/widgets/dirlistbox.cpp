#include "widgets/dirlistbox.h"

#include "widgets/folderwatch.h"

#include <QDir>
#include <QSignalBlocker>
#include <QFileInfo>

namespace trelvik {

namespace {
constexpr int kPathRole = Qt::UserRole + 1;
}

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    path_ = QDir::cleanPath(QDir::currentPath());
    watch_ = new FolderWatch(this, [this] {
        const QSignalBlocker block(this);
        refresh();
    });
    refresh();
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item) setPath(item->data(kPathRole).toString());
    });
}

bool DirListBox::setPath(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    if (!info.isDir()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == path_) return true;
    path_ = clean;
    refresh();
    emit changed(path_);
    return true;
}

void DirListBox::refresh() {
    watch_->watch(path_);
    clear();
    // The chain from the root to the current folder, each level indented one step.
    QStringList chain;
    for (QDir d(path_);; ) {
        chain.prepend(QDir::cleanPath(d.absolutePath()));
        if (d.isRoot() || !d.cdUp()) break;
    }
    int depth = 0;
    for (const QString& p : chain) {
        const QString name = depth == 0 ? p : QFileInfo(p).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, this);
        item->setData(kPathRole, p);
        ++depth;
    }
    setCurrentRow(count() - 1);
    const QDir here(path_);
    for (const QFileInfo& sub : here.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                   QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + sub.fileName(), this);
        item->setData(kPathRole, QDir::cleanPath(sub.absoluteFilePath()));
    }
}

} // namespace trelvik
