#pragma once
// Drive list: the filesystem roots and mount points the user can pick data from.
// A "drive" here is a mount point; the drive of a path is the deepest listed mount
// point that contains it, so "/" is always a drive and, for instance, a data disk
// mounted on /mnt/scans is the drive of every path below it.
#include <QComboBox>
#include <QStringList>

namespace trelvik {

class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // The chosen drive (a root or mount point path).
    QString drive() const;
    // Moves to the drive of pathOrDrive; emits changed() only when the drive differs.
    void setDrive(const QString& pathOrDrive);
    // Re-reads the mount table, keeping the chosen drive where it still exists.
    void refresh();

    // The drives offered: "/" first, then the real mount points in path order.
    static QStringList listDrives();
    // The deepest drive of drives that contains path ("/" when none does).
    static QString driveOf(const QString& path, const QStringList& drives);

signals:
    void changed();

private:
    void fill(const QStringList& drives);
};

} // namespace trelvik
