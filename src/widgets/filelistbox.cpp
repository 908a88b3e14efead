#include "widgets/filelistbox.h"

#include "widgets/folderwatch.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace trelvik {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    path_ = QDir::cleanPath(QDir::currentPath());
    watch_ = new FolderWatch(this, [this] {
        // Keep the user's choice across the re-read; no click event, nothing was chosen anew.
        const QString chosen = fileName();
        const QSignalBlocker block(this);
        refresh();
        if (!chosen.isEmpty()) selectFile(chosen);
    });
    refresh();
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { emit clicked(); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { emit doubleClicked(); });
}

void FileListBox::setPath(const QString& folder) {
    path_ = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    refresh();
}

void FileListBox::setPattern(const QString& pattern) {
    pattern_ = pattern;
    refresh();
}

QString FileListBox::fileName() const {
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QStringList FileListBox::fileNames() const {
    QStringList names;
    for (int i = 0; i < count(); ++i) names << item(i)->text();
    return names;
}

bool FileListBox::selectFile(const QString& name) {
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text() == name) {
            setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    // Moving through the list by keyboard chooses a file just as a click does.
    if (currentRow() != before && currentItem() && currentItem()->isSelected()) emit clicked();
}

void FileListBox::refresh() {
    watch_->watch(path_);
    clear();
    QStringList filters;
    for (const QString& p : pattern_.split(';', Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        // "*.*" means every file, including those without a dot in the name.
        filters << (t == QStringLiteral("*.*") ? QStringLiteral("*") : t);
    }
    if (filters.isEmpty()) filters << QStringLiteral("*");
    QDir dir(path_);
    dir.setNameFilters(filters);
    // Without QDir::CaseSensitive the name filters ignore case.
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    addItems(names);
}

} // namespace trelvik
