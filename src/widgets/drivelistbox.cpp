#include "widgets/drivelistbox.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>

namespace trelvik {

namespace {

// Kernel and runtime file systems hold no user data; listing them would bury the
// data disks among dozens of entries.
bool isPseudoFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "mqueue", "debugfs",
        "tracefs", "securityfs", "pstore", "bpf", "autofs", "hugetlbfs", "configfs",
        "fusectl", "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "overlay", "squashfs"};
    return pseudo.contains(type);
}

bool isSystemPath(const QString& p) {
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"}) {
        const QString pre = QString::fromLatin1(prefix);
        if (p == pre || p.startsWith(pre + '/')) return true;
    }
    return false;
}

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    fill(listDrives());
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit changed(); });
}

QStringList DriveListBox::listDrives() {
    QStringList drives{QDir::rootPath()};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = QDir::cleanPath(v.rootPath());
        if (!v.isValid() || root.isEmpty() || drives.contains(root)) continue;
        if (isPseudoFileSystem(v.fileSystemType()) || isSystemPath(root)) continue;
        // Containers bind single files (/etc/hosts) as mounts; only folders are drives.
        if (!QFileInfo(root).isDir()) continue;
        drives << root;
    }
    std::sort(drives.begin() + 1, drives.end());
    return drives;
}

QString DriveListBox::driveOf(const QString& path, const QStringList& drives) {
    const QString p = cleanAbsolute(path);
    QString best = QDir::rootPath();
    for (const QString& d : drives) {
        const bool inside = p == d || d == QDir::rootPath() || p.startsWith(d + '/');
        if (inside && d.size() > best.size()) best = d;
    }
    return best;
}

QString DriveListBox::drive() const {
    return currentText();
}

void DriveListBox::setDrive(const QString& pathOrDrive) {
    QStringList drives;
    for (int i = 0; i < count(); ++i) drives << itemText(i);
    const int i = findText(driveOf(pathOrDrive, drives));
    if (i >= 0) setCurrentIndex(i);
}

void DriveListBox::refresh() {
    const QString keep = drive();
    QSignalBlocker block(this);
    fill(listDrives());
    const int i = findText(keep);
    setCurrentIndex(i >= 0 ? i : 0);
}

void DriveListBox::fill(const QStringList& drives) {
    clear();
    addItems(drives);
    setCurrentIndex(0);
}

} // namespace trelvik
