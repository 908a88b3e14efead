// Drive, folder and file lists on real folders in a temporary directory, and the wheel
// over a list box, a number box and a value bar.
#include <gtest/gtest.h>

#include "support/qtapp.h"
#include "support/qtevents.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThread>

#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filechooser.h"
#include "widgets/writtenfiles.h"
#include "widgets/filelistbox.h"
#include "widgets/wheelneedsfocus.h"

using namespace trelvik;
using trelvik::testsupport::ensureApp;
using trelvik::testsupport::turnWheelOver;

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

class ListBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        ASSERT_TRUE(tmp.isValid());
        root = QDir::cleanPath(tmp.path());
        for (const char* n : {"a.txt", "b.CSV", "c.grd", "noext", "z.csv"}) touch(root + "/" + n);
        touch(root + "/.hidden.txt");
        QDir(root).mkdir("sub.txt");
        QDir(root).mkdir("Beta");
    }
    QTemporaryDir tmp;
    QString root;
};

} // namespace

TEST_F(ListBoxes, FilePatternsSelectionAndMissingFolder) {
    FileListBox files;
    files.setPath(root);
    files.setPattern("*.txt;*.csv");
    EXPECT_EQ(files.fileNames(), (QStringList{"a.txt", "b.CSV", "z.csv"}));
    files.setPattern("*.grd");
    EXPECT_EQ(files.fileNames(), QStringList{"c.grd"});
    // "*.*" lists names without a dot too, but never folders or hidden files.
    files.setPattern("*.*");
    EXPECT_EQ(files.fileNames(), (QStringList{"a.txt", "b.CSV", "c.grd", "noext", "z.csv"}));
    files.setPattern(" *.dat ; ");
    EXPECT_TRUE(files.fileNames().isEmpty());

    files.setPattern("*.csv");
    EXPECT_EQ(files.fileName(), QString());
    EXPECT_TRUE(files.selectFile("z.csv"));
    EXPECT_EQ(files.fileName(), "z.csv");
    EXPECT_FALSE(files.selectFile("a.txt"));
    files.setPath(root + "/does-not-exist");
    EXPECT_EQ(files.count(), 0);
    EXPECT_EQ(files.fileName(), QString());
}

TEST_F(ListBoxes, FolderListMovesAndSignalsOnlyOnRealChanges) {
    DirListBox dirs;
    int changes = 0;
    QObject::connect(&dirs, &DirListBox::changed, [&](const QString&) { ++changes; });
    ASSERT_TRUE(dirs.setPath(root + "/"));
    EXPECT_EQ(dirs.path(), root);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(dirs.setPath(root));  // the same folder again: no event
    EXPECT_EQ(changes, 1);

    // A missing folder, a file or nothing at all are refused and change nothing.
    EXPECT_FALSE(dirs.setPath(root + "/missing"));
    EXPECT_FALSE(dirs.setPath(root + "/a.txt"));
    EXPECT_FALSE(dirs.setPath(QString()));
    EXPECT_EQ(dirs.path(), root);
    EXPECT_EQ(changes, 1);

    // The last two entries are the subfolders, in name order; activating one enters it.
    ASSERT_GE(dirs.count(), 3);
    EXPECT_EQ(dirs.item(dirs.count() - 2)->text().trimmed(), "Beta");
    QListWidgetItem* sub = dirs.item(dirs.count() - 1);
    EXPECT_EQ(sub->text().trimmed(), "sub.txt");
    emit dirs.itemActivated(sub);
    EXPECT_EQ(dirs.path(), root + "/sub.txt");
    EXPECT_EQ(changes, 2);
    // The first entry is the root, so the chain leads back up.
    emit dirs.itemActivated(dirs.item(0));
    EXPECT_EQ(dirs.path(), QDir::rootPath());
}

TEST(DriveListBox, DriveOfPathIsDeepestContainingMountPoint) {
    const QStringList drives{"/", "/mnt/scans", "/mnt/scans2", "/media/usb"};
    EXPECT_EQ(DriveListBox::driveOf("/mnt/scans/tooth/a.grd", drives), "/mnt/scans");
    EXPECT_EQ(DriveListBox::driveOf("/mnt/scans2/a.grd", drives), "/mnt/scans2");
    EXPECT_EQ(DriveListBox::driveOf("/mnt/scansX/a", drives), "/");
    EXPECT_EQ(DriveListBox::driveOf("/mnt/scans/../other", drives), "/");
}

TEST(DriveListBox, ListsRootFirstAndSignalsOnlyOnChange) {
    ensureApp();
    const QStringList drives = DriveListBox::listDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.front(), QDir::rootPath());
    for (const QString& d : drives) {
        EXPECT_FALSE(d.startsWith("/proc")) << d.toStdString();
        EXPECT_FALSE(d.startsWith("/sys")) << d.toStdString();
    }

    DriveListBox box;
    EXPECT_EQ(box.drive(), QDir::rootPath());
    int changes = 0;
    QObject::connect(&box, &DriveListBox::changed, [&] { ++changes; });
    box.setDrive(QDir::rootPath());
    EXPECT_EQ(changes, 0);
    // The drive of any existing path is one of the listed drives.
    box.setDrive(QDir::tempPath());
    EXPECT_TRUE(drives.contains(box.drive()));
}

namespace {
// Lets queued events (the folder watcher's) run until cond holds or 3 s pass.
template <class Cond>
bool waitFor(Cond cond) {
    for (int i = 0; i < 300 && !cond(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    return cond();
}
} // namespace

// Files and folders the program writes show up without a refresh by hand, and the
// chosen file stays chosen; moving by keyboard chooses a file as a click does.
TEST_F(ListBoxes, ListsFollowTheFolderAndKeyboardChoosesLikeTheMouse) {
    FileListBox files;
    files.setPath(root);
    files.setPattern("*.csv");
    files.selectFile("b.CSV");
    DirListBox dirs;
    dirs.setPath(root);
    const int dirRows = dirs.count();

    touch(root + "/new.csv");
    QDir(root).mkdir("made");
    EXPECT_TRUE(waitFor([&] { return files.fileNames().contains("new.csv"); }));
    EXPECT_EQ(files.fileName(), "b.CSV");
    EXPECT_TRUE(waitFor([&] { return dirs.count() == dirRows + 1; }));
    QFile::remove(root + "/new.csv");
    EXPECT_TRUE(waitFor([&] { return !files.fileNames().contains("new.csv"); }));

    int clicks = 0;
    QObject::connect(&files, &FileListBox::clicked, [&] { ++clicks; });
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&files, &down);
    EXPECT_EQ(files.fileName(), "z.csv");
    EXPECT_EQ(clicks, 1);
    QApplication::sendEvent(&files, &down);  // already at the end: nothing chosen anew
    EXPECT_EQ(clicks, 1);
}

TEST(WrittenFiles, NamesTheFilesAStepMadeOrChangedButNotTheUsersDigitiseFiles) {
    trelvik::testsupport::ensureApp();
    QTemporaryDir dir;
    auto write = [&](const char* name, const char* text) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("kept.grd", "a");
    write("changed.csv", "a");
    write("digit1.dat", "1,1");
    QFile::link(dir.filePath("digit1.dat"), dir.filePath("link1.dat"));
    trelvik::FileListBox list;
    list.setPattern("*.grd;*.csv");
    list.setPath(dir.path());
    const trelvik::WrittenFiles before(dir.path());
    write("changed.csv", "ab");
    write("T1trs.grd", "x");
    write("link1.dat", "1,1\n2,2");  // a save through a link writes the file it points at
    EXPECT_EQ(before.written(), QStringList({"changed.csv", "T1trs.grd"}));
    QLabel status;
    before.report(&status, &list);
    EXPECT_EQ(status.text(), "Wrote changed.csv, T1trs.grd in " + dir.path());
    EXPECT_TRUE(list.fileNames().contains("T1trs.grd"));  // listed at once
    const trelvik::WrittenFiles after(dir.path());
    after.report(&status, nullptr);
    EXPECT_EQ(status.text(), "Nothing was written.");

    // A status line too narrow for the names and the folder together starts the folder on
    // a line of its own, never breaking it after one of its "/".
    QWidget window;
    QLabel* narrow = trelvik::WrittenFiles::makeStatusLine(&window);
    narrow->setFixedWidth(narrow->fontMetrics().horizontalAdvance(dir.path() + "  "));
    window.show();
    const trelvik::WrittenFiles again(dir.path());
    write("T1trs.grd", "xy");
    again.report(narrow, nullptr);
    EXPECT_EQ(narrow->text(), "Wrote T1trs.grd in\n" + dir.path());
    narrow->setFixedWidth(narrow->width() / 2);  // not even the folder fits on a line
    const trelvik::WrittenFiles last(dir.path());
    write("T1trs.grd", "xyz");
    last.report(narrow, nullptr);
    const QStringList lines = narrow->text().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].contains(QChar(0x2026)) && !lines[1].contains('\n')) << lines[1].toStdString();
    EXPECT_LE(narrow->fontMetrics().horizontalAdvance(lines[1]), narrow->contentsRect().width());
    EXPECT_EQ(narrow->toolTip(), dir.path());
}

TEST(FileChooser, EveryWindowsListsActAlikeAndOnlyTheLabelRuleDiffers) {
    trelvik::testsupport::ensureApp();
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("sub");
    QFile(dir.filePath("sub/T1.grd")).open(QIODevice::WriteOnly);
    QWidget window;
    for (bool follows : {true, false}) {
        trelvik::FileChooser c;
        c.build(&window, "*.grd", dir.path());
        c.labelFollowsFolder = follows;
        EXPECT_EQ(c.folder(), QDir::cleanPath(dir.path()).toStdString());  // empty label: the list's folder
        c.dir->setPath(dir.filePath("sub"));
        EXPECT_EQ(c.file->path(), QDir::cleanPath(dir.filePath("sub")));
        EXPECT_EQ(c.label->text(), follows ? c.dir->path() : QString());
        ASSERT_TRUE(c.file->selectFile("T1.grd"));
        emit c.file->clicked();
        EXPECT_EQ(c.text->text(), "T1.grd");
        EXPECT_EQ(c.label->text(), c.file->path());
        c.drive->setDrive("/");
        c.driveChanged();
        EXPECT_EQ(c.dir->path(), "/");
        EXPECT_EQ(c.label->text(), follows ? QString("/") : QDir::cleanPath(dir.filePath("sub")));
    }
}

namespace {
// A window whose page, taller than the window, scrolls, under the program's wheel rule.
struct ScrollingWindow : QScrollArea {
    QWidget* page = new QWidget;
    ScrollingWindow() {
        ensureApp();
        installWheelNeedsFocus(*qApp);
        page->setFixedSize(300, 2000);
        setWidget(page);
        resize(340, 300);
    }
    void show() {
        QScrollArea::show();
        activateWindow();
    }
};
} // namespace

// The wheel over a list box the user only scrolls past scrolls the window and leaves the
// choice; over the box with the focus it changes the choice.
TEST(WheelNeedsFocus, TheWheelOverAListBoxWithoutTheFocusScrollsTheWindowInstead) {
    ScrollingWindow window;
    auto* filters = new QComboBox(window.page);
    filters->addItems({"Moving average (nxn)", "Distance weighting (nxn)", "Gaussian LP (nxn)"});
    auto* name = new QLineEdit(window.page);
    name->move(0, 60);
    window.show();
    name->setFocus();
    QApplication::processEvents();
    turnWheelOver(filters);
    EXPECT_EQ(filters->currentIndex(), 0);
    EXPECT_GT(window.verticalScrollBar()->value(), 0);
    // The focus the window hands it, then the user's click, which opens its list (shut
    // with Esc): the click gives it the wheel.
    filters->setFocus(Qt::OtherFocusReason);
    turnWheelOver(filters);
    EXPECT_EQ(filters->currentIndex(), 0);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(5, 5), filters->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QSpontaneKeyEvent::setSpontaneous(&e);
        qApp->notify(filters, &e);
    }
    QApplication::processEvents();
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &esc);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
    turnWheelOver(filters);
    EXPECT_EQ(filters->currentIndex(), 1);
    // Another window to the front and back again: the focus the user gave stays given.
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    ASSERT_FALSE(filters->hasFocus());
    window.activateWindow();
    QApplication::processEvents();
    turnWheelOver(filters);
    EXPECT_EQ(filters->currentIndex(), 2);
}

// A number box and a bar that sets a value follow the list boxes: under the pointer
// without the focus the user gave them they scroll the page on (its own bar scrolls it),
// and they keep their value also with the focus the program put there.
TEST(WheelNeedsFocus, TheWheelOverANumberBoxOrValueBarWithoutTheUsersFocusScrollsThePage) {
    ScrollingWindow window;
    auto* passes = new QSpinBox(window.page);
    passes->setValue(5);
    auto* elevation = new QScrollBar(Qt::Vertical, window.page);
    elevation->setRange(0, 90);
    elevation->setValue(45);
    elevation->setGeometry(100, 0, 20, 60);
    window.show();
    QApplication::processEvents();
    for (QWidget* w : {static_cast<QWidget*>(passes), static_cast<QWidget*>(elevation)}) {
        window.verticalScrollBar()->setValue(0);
        w->setFocus(Qt::OtherFocusReason);
        turnWheelOver(w);
        EXPECT_GT(window.verticalScrollBar()->value(), 0) << w->metaObject()->className();
    }
    EXPECT_EQ(passes->value(), 5);
    EXPECT_EQ(elevation->value(), 45);
    passes->setFocus(Qt::TabFocusReason);
    turnWheelOver(passes);
    EXPECT_EQ(passes->value(), 4);
    // Tab goes on to the value bar, which then takes the wheel too.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(passes, &tab);
    ASSERT_TRUE(elevation->hasFocus());
    turnWheelOver(elevation);
    EXPECT_NE(elevation->value(), 45);
}
