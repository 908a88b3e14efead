// The map window offscreen: each map type painted where its frame is, clicks turned
// into map coordinates, the digitise file saved and read back, bad grids reported.
#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/digitisefile.h"
#include "formats/surfergrid.h"
#include "support/qtapp.h"
#include "support/qtevents.h"
#include "support/tempfolder.h"
#include "surfer/documents.h"
#include "surferwin/mapcanvas.h"
#include "surferwin/mapwindow.h"
#include "widgets/fitscreen.h"
#include "widgets/qtprompt.h"
#include "widgets/windowprompt.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QAbstractButton>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <set>

using trelvik::Grid;
using trelvik::surferwin::MapWindow;

namespace {
using trelvik::testsupport::ensureApp;
using trelvik::testsupport::wait;
using trelvik::testsupport::whenShown;

std::string saveGrid(const trelvik::testing::TempFolder& dir, const std::string& name, int cols, int rows,
                     double (*f)(double, double)) {
    Grid g(cols, rows, 0, 10, 0, 10.0 * (rows - 1) / (cols - 1));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) g.at(c, r) = f(g.x(c), g.y(r));
    trelvik::formats::writeSurferGrid(dir.path(name), g, trelvik::formats::SurferGridFormat::Binary7);
    return dir.path(name);
}

// The file the map window's Save... offers (the dialog is closed without saving).
QString offeredSaveFile(MapWindow& win) {
    QString offered;
    whenShown<QFileDialog>([&](QFileDialog* d) {
        offered = d->selectedFiles().value(0);
        d->reject();
    });
    for (auto* b : win.findChildren<QPushButton*>())
        if (b->text() == "Save...") b->click();
    return offered;
}

// Runs act while a "Digitise map" question asks for the file its step reads at
// `readPath` (the question is then cancelled).
void whileAsked(const std::string& readPath, const std::function<void()>& act) {
    whenShown<QMessageBox>([&](QMessageBox* question) {
        act();
        question->button(QMessageBox::Cancel)->click();
    });
    trelvik::QtPrompt qt;
    EXPECT_FALSE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", readPath));
}

// The file Save... offers while a question's step reads `readPath`.
QString offeredWhileAsked(MapWindow& win, const std::string& readPath) {
    QString offered;
    whileAsked(readPath, [&] { offered = offeredSaveFile(win); });
    return offered;
}

// Runs act on the first visible message box titled `title`, once one shows.
void whenTitled(const QString& title, std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(0, [title, act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->windowTitle() == title)
                return act(box);
        whenTitled(title, act);
    });
}

double tilted(double x, double y) { return 0.3 * x + 0.1 * y; }
double coneZ(double x, double y) { return 5 - 0.5 * std::hypot(x - 5, y - 5); }

struct Fixture {
    trelvik::testing::TempFolder dir;
    std::shared_ptr<surfer::Application> app = surfer::connect("Surfer.Application", true);
    trelvik::ScriptedPrompt prompt;
    std::unique_ptr<MapWindow> win;
    Fixture() {
        ensureApp();
        win = std::make_unique<MapWindow>(app);
        win->setPrompt(&prompt);
        win->resize(900, 700);
        win->show();
    }
    std::shared_ptr<surfer::PlotDocument> plot() { return surfer::asPlot(app->ActiveDocument()); }
    QPoint pixelOf(double pageX, double pageY) {
        return win->canvas()->pageToPixel({pageX, pageY}).toPoint();
    }
    void click(QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), win->canvas()->mapToGlobal(QPointF(at)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(win->canvas(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), win->canvas()->mapToGlobal(QPointF(at)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(win->canvas(), &release);
    }
    QImage shot(const char* name) {
        win->canvas()->repaint();
        QImage img = win->canvas()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        if (const char* out = std::getenv("TRELVIK_SCREENSHOT_DIR")) {
            win->grab().save(QString(out) + "/" + name + ".png");
        }
        return img;
    }
};
} // namespace

TEST(MapWindow, EachMapTypePaintsInsideItsFrame) {
    Fixture f;
    const std::string planeGrid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    const std::string coneGrid = saveGrid(f.dir, "cone.grd", 41, 41, coneZ);
    for (auto k : {surfer::MapKind::Relief, surfer::MapKind::Contour, surfer::MapKind::Image, surfer::MapKind::Surface}) {
        f.app->Documents.Add(1);
        ASSERT_TRUE(f.win->addMap(k, k == surfer::MapKind::Contour ? coneGrid : planeGrid));
        auto map = f.plot()->Shapes.maps().back();
        if (k == surfer::MapKind::Surface) {  // the "Above" view
            map->ViewRotation = 0;
            map->ViewTilt = 90;
            map->ViewProjection = 2;
        }
        f.win->refresh();
        const char* names[] = {"", "relief", "contour", "image", "surface"};
        QImage img = f.shot(names[int(k)]);
        const QPoint tl = f.pixelOf(map->Left, map->Top), br = f.pixelOf(map->Left + map->XLength, map->Top - map->YLength);
        const QRect inner = QRect(tl, br).adjusted(3, 3, -3, -3);
        ASSERT_GT(inner.width(), 100);
        const QRgb background = img.pixel(2, 2);
        std::set<QRgb> colours;
        long painted = 0, total = 0;
        for (int y = inner.top(); y <= inner.bottom(); y += 2)
            for (int x = inner.left(); x <= inner.right(); x += 2) {
                colours.insert(img.pixel(x, y));
                painted += img.pixel(x, y) != background;
                ++total;
            }
        switch (k) {
        case surfer::MapKind::Relief:  // a plane shades evenly
            EXPECT_EQ(colours.size(), 1u);
            EXPECT_NE(*colours.begin(), background);
            break;
        case surfer::MapKind::Surface: {  // from above it fills the frame
            EXPECT_EQ(painted, total);
            // The z axis is seen end on: its two numbers are not printed over each other
            // left of the lower-left corner.
            long ink = 0;
            for (int y = br.y() - 14; y <= br.y() + 2; ++y)
                for (int x = tl.x() - 60; x <= tl.x() - 4; ++x) ink += img.pixel(x, y) != background;
            EXPECT_EQ(ink, 0);
            break;
        }
        case surfer::MapKind::Image:
            EXPECT_EQ(painted, total);
            break;
        case surfer::MapKind::Contour: {
            // Lines only: most of the frame stays background, and the ring of radius 2
            // map units crosses the frame's centre row 2 units left of the centre.
            EXPECT_LT(painted, total / 4);
            const QPointF c = f.win->canvas()->pageToPixel({map->Left + map->XLength / 2, map->Top - map->YLength / 2});
            const double pxPerUnit = (br.x() - tl.x()) / 10.0;
            bool found = false;
            for (int dx = -2; dx <= 2; ++dx)
                found = found || img.pixel(int(c.x() - 2 * pxPerUnit) + dx, int(c.y())) != background;
            EXPECT_TRUE(found);
            break;
        }
        }
    }
}

TEST(MapWindow, DefaultSurfaceViewStandsTheConeUp) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Surface, saveGrid(f.dir, "cone.grd", 41, 41, coneZ)));
    auto map = f.plot()->Shapes.maps().back();
    map->zMapPerPU = map->xMapPerPU();  // true vertical scale, as the plotting windows set it
    f.win->refresh();
    QImage img = f.shot("surface-default");
    surfer::SurfaceView view;
    view.xyUnitsPerInch = map->xMapPerPU();
    view.zUnitsPerInch = map->zMapPerPU;
    const QPoint tl = f.pixelOf(map->Left, map->Top), br = f.pixelOf(map->Left + map->XLength, map->Top - map->YLength);
    surfer::SurfaceProjector proj(map->grid(), br.x() - tl.x(), br.y() - tl.y(), view);
    double px, py;
    proj.project(5, 5, 5, px, py);  // the tip
    EXPECT_NE(img.pixel(tl.x() + int(px), tl.y() + int(py) + 2), img.pixel(2, 2));
    // Seen from 30 degrees up, the flattish cone leaves the frame's top corners empty.
    EXPECT_EQ(img.pixel(tl + QPoint(3, 3)), img.pixel(2, 2));
}

TEST(MapWindow, ClicksBecomeMapCoordinatesAndSaveReadsBack) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);  // x 0..10, y 0..5
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    const double unitsPerPixel = 10.0 / (map->XLength * f.win->canvas()->pixelsPerInch());
    // The pixel at page position of map (2.5, 1.25), and one outside the frame.
    double px, py;
    map->mapToPage(2.5, 1.25, px, py);
    f.click(f.pixelOf(px, py));
    f.click(f.pixelOf(map->Left - 0.5, map->Top + 0.5));
    f.win->endGroup();
    map->mapToPage(7.5, 3.75, px, py);
    f.click(f.pixelOf(px, py));
    const auto& e = f.win->digitised().entries();
    ASSERT_EQ(e.size(), 3u);  // the click outside added nothing
    EXPECT_NEAR(e[0].x, 2.5, 1.5 * unitsPerPixel);
    EXPECT_NEAR(e[0].y, 1.25, 1.5 * unitsPerPixel);
    EXPECT_TRUE(e[1].groupEnd);
    EXPECT_NEAR(e[2].x, 7.5, 1.5 * unitsPerPixel);
    EXPECT_EQ(f.win->pointList()->count(), 3);
    EXPECT_EQ(f.win->pointList()->item(1)->text(), "-1");
    // A second map added by hand lands beside the first, not over it, and takes clicks
    // in its own frame.
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, grid));
    f.win->refresh();
    auto second = f.plot()->Shapes.maps().back();
    EXPECT_GE(second->Left, map->Left + map->XLength);
    EXPECT_DOUBLE_EQ(second->Top, map->Top);
    EXPECT_EQ(surfer::flatMapAt(f.plot()->Shapes, map->Left + 1, map->Top - 1), map);
    f.win->undoPoint();
    second->mapToPage(7.5, 3.75, px, py);
    f.click(f.pixelOf(px, py));
    ASSERT_EQ(e.size(), 3u);
    EXPECT_NEAR(e[2].x, 7.5, 1.5 * second->xMapPerPU() / f.win->canvas()->pixelsPerInch());

    const std::string path = f.win->digitised().defaultPath();
    EXPECT_EQ(path, f.dir.path("digit.dat"));
    ASSERT_TRUE(f.win->saveDigitiseTo(path));
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(path), f.win->digitised().groups());
    // Replacing asks first; No leaves the file as it was.
    f.win->undoPoint();
    f.prompt.answer(trelvik::Answer::No);
    const std::string before = f.dir.read("digit.dat");
    EXPECT_FALSE(f.win->saveDigitiseTo(path));
    EXPECT_EQ(f.dir.read("digit.dat"), before);
    EXPECT_TRUE(f.win->saveDigitiseTo(path));  // the script answers Yes now
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(path).back().size(), 0u);  // ends with the group end
    // Digitising again after the save starts a new list; unsaved points are kept.
    f.win->setDigitiseMode(false);
    f.win->setDigitiseMode(true);
    EXPECT_TRUE(f.win->digitised().entries().empty());
    EXPECT_EQ(f.win->pointList()->count(), 0);
    f.click(f.pixelOf(px, py));
    f.win->setDigitiseMode(false);
    f.win->setDigitiseMode(true);
    EXPECT_EQ(f.win->digitised().pointCount(), 1);
}

TEST(MapWindow, FirstClickAfterSaveStartsANewList) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "plane.grd", 21, 11, tilted)));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    double px, py;
    for (double x : {2.0, 6.0}) {
        map->mapToPage(x, 2.5, px, py);
        f.click(f.pixelOf(px, py));
    }
    ASSERT_TRUE(f.win->saveDigitiseTo(f.dir.path("digit.dat")));
    // Still in Digitise mode: the next click is the first point of a new list.
    map->mapToPage(8, 4, px, py);
    f.click(f.pixelOf(px, py));
    EXPECT_EQ(f.win->digitised().entries().size(), 1u);
    EXPECT_EQ(f.win->pointList()->count(), 1);
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("New list"));
    // A saved list corrected with Undo goes on with the clicks that follow.
    f.click(f.pixelOf(px, py));
    ASSERT_TRUE(f.win->saveDigitiseTo(f.dir.path("digit.dat")));
    f.win->undoPoint();
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("The list goes on"));
    f.click(f.pixelOf(px, py));
    EXPECT_EQ(f.win->digitised().entries().size(), 2u);
}

TEST(MapWindow, SaveOffersTheFileTheOpenQuestionAsksFor) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    double px, py;
    map->mapToPage(5, 2.5, px, py);
    f.click(f.pixelOf(px, py));
    // While the question asks for digit1.dat, Save... offers it in the grid's folder.
    EXPECT_EQ(offeredWhileAsked(*f.win, f.dir.path("digit1.dat")).toStdString(), f.dir.path("digit1.dat"));
    EXPECT_EQ(offeredSaveFile(*f.win).toStdString(), f.dir.path("digit.dat"));
}

// Maps of other folders often lie on top: Save... offers the file the asking step
// reads whichever map was clicked, and a save elsewhere says which file that is.
TEST(MapWindow, SaveOffersTheFileTheAskingStepReadsWhicheverMapWasClicked) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    std::filesystem::create_directory(f.dir.path("sub"));
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "sub/molarcopy.grd", 21, 11, tilted)));
    f.win->refresh();
    auto copy = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    double px, py;
    copy->mapToPage(5, 2.5, px, py);
    f.click(f.pixelOf(px, py));
    ASSERT_EQ(f.win->digitised().pointCount(), 1);
    const std::string reads = f.dir.path("digit1.dat");
    QString offered, status;
    whileAsked(reads, [&] {
        offered = offeredSaveFile(*f.win);
        f.win->saveDigitiseTo(f.dir.path("sub/digit1.dat"));
        status = f.win->statusBar()->currentMessage();
    });
    EXPECT_EQ(offered.toStdString(), reads);
    EXPECT_TRUE(f.win->statusBar()->toolTip().contains(QString::fromStdString(reads))) << status.toStdString();
}

// At the window's first width the status line still shows what matters (the file the
// step reads, its name whole), the whole text at hand; Clear and closing the last plot
// take away what no longer holds.
TEST(MapWindow, StatusLineFitsItsFirstWidthAndDropsWhatNoLongerHolds) {
    Fixture f;
    f.win->resize(640, 700);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    const std::string deep = "scans of the lower second molars/left side after smoothing";
    std::filesystem::create_directories(f.dir.path(deep));
    const std::string reads = f.dir.path(deep + "/digit1.dat");
    f.win->setDigitiseMode(true);
    double px, py;
    f.plot()->Shapes.maps().back()->mapToPage(5, 2.5, px, py);
    f.click(f.pixelOf(px, py));
    QString shown;
    whileAsked(reads, [&] {
        f.win->saveDigitiseTo(f.dir.path("digit1.dat"));
        shown = f.win->statusBar()->currentMessage();
    });
    QStatusBar* bar = f.win->statusBar();
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(shown), bar->width() - 18) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith("The step reads ")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("/digit1.dat, not this file")) << shown.toStdString();
    EXPECT_TRUE(bar->toolTip().contains(QString::fromStdString(reads)));

    f.win->clearPoints();
    EXPECT_TRUE(bar->currentMessage().isEmpty());
    EXPECT_TRUE(bar->toolTip().isEmpty());
    f.win->setDigitiseMode(false);
    emit f.win->canvas()->pointerMoved(QPointF(px, py));
    EXPECT_TRUE(f.win->pointerLabel()->text().startsWith("x = "));
    ASSERT_TRUE(f.win->closeShownDocument());
    f.win->refresh();
    EXPECT_TRUE(f.win->pointerLabel()->text().isEmpty());
}

// Points clicked for a question that ended without saving them belong to that step: the
// next question's list starts afresh. Points clicked with no question open stay.
TEST(MapWindow, ANewQuestionSetsAsidePointsClickedForAnEarlierOneThatEndedUnsaved) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    const auto clickAt = [&](double x) {
        double px, py;
        map->mapToPage(x, 2.5, px, py);
        f.click(f.pixelOf(px, py));
    };
    const std::string reads = f.dir.path("digit1.dat");
    whileAsked(reads, [&] {
        clickAt(2);
        clickAt(4);
    });  // cancelled
    ASSERT_EQ(f.win->digitised().pointCount(), 2);
    long heldWhenAsked = -1;
    QString said;
    whileAsked(reads, [&] {
        heldWhenAsked = f.win->digitised().pointCount();
        said = f.win->statusBar()->currentMessage();
        clickAt(6);  // clicked for this question, before Cancel
    });
    EXPECT_EQ(heldWhenAsked, 0);
    EXPECT_TRUE(said.startsWith("Set aside 2 points")) << said.toStdString();
    f.win->clearPoints();
    clickAt(8);  // no question open
    whileAsked(reads, [&] {
        heldWhenAsked = f.win->digitised().pointCount();
        said = f.win->statusBar()->currentMessage();
    });
    EXPECT_EQ(heldWhenAsked, 1);
    EXPECT_TRUE(said.contains("already holds 1 point")) << said.toStdString();
}

// OK with points clicked during the question that are not in the file its step reads
// says so and can go back to the question; a save through a link to that file is that
// file, and OK then goes on.
TEST(MapWindow, OkWithClickedPointsOutsideTheStepsFileAsksBeforeTheStepReadsIt) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    f.win->setDigitiseMode(true);
    const std::string reads = f.dir.path("digit1.dat");
    f.dir.write("digit1.dat", "1,1\n2,2\n");  // an older step's file
    std::filesystem::create_directory(f.dir.path("sub"));
    std::filesystem::create_symlink(reads, f.dir.path("sub/link1.dat"));
    int shows = 0;
    std::vector<std::string> warnings;
    QString statusAfterLinkSave;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        ++shows;
        if (shows == 1) {
            double px, py;
            f.plot()->Shapes.maps().back()->mapToPage(5, 2.5, px, py);
            f.click(f.pixelOf(px, py));
        } else if (shows == 2) {
            f.win->saveDigitiseTo(f.dir.path("sub/digit1.dat"));
        } else {
            f.win->saveDigitiseTo(f.dir.path("sub/link1.dat"));
            statusAfterLinkSave = f.win->statusBar()->currentMessage();
        }
        if (shows < 3)
            whenTitled("Digitise file", [&](QMessageBox* warning) {
                warnings.push_back(warning->text().toStdString());
                whenTitled("Digitise map", onQuestion);
                for (auto* b : warning->buttons())
                    if (b->text() == "Back") b->click();
            });
        question->button(QMessageBox::Ok)->click();
    };
    whenTitled("Digitise map", onQuestion);
    trelvik::QtPrompt qt;
    EXPECT_TRUE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", reads));
    EXPECT_EQ(shows, 3);
    ASSERT_EQ(warnings.size(), 2u);
    for (const auto& w : warnings) {
        EXPECT_NE(w.find("The step reads " + reads), std::string::npos) << w;
        EXPECT_NE(w.find("The point clicked during this question is not in that file"), std::string::npos) << w;
    }
    EXPECT_FALSE(statusAfterLinkSave.contains("not this file")) << statusAfterLinkSave.toStdString();
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(reads).front().size(), 1u);
}

// A group ends after its points, and a list without a point is no file: both say so.
TEST(MapWindow, EndGroupAndSaveWithoutAPointAddAndWriteNothingAndSayWhy) {
    Fixture f;
    const std::string digit = f.dir.path("digit.dat");
    EXPECT_FALSE(f.win->saveDigitiseTo(digit));  // no plot document shown
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("Nothing to save"));
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "plane.grd", 21, 11, tilted)));
    f.win->refresh();
    f.win->endGroup();
    EXPECT_TRUE(f.win->digitised().entries().empty());
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("End group adds nothing"));
    EXPECT_FALSE(f.win->saveDigitiseTo(digit));
    EXPECT_FALSE(trelvik::FileExists(digit));
    f.win->setDigitiseMode(true);
    double px, py;
    f.plot()->Shapes.maps().back()->mapToPage(5, 2.5, px, py);
    f.click(f.pixelOf(px, py));
    f.win->endGroup();
    f.win->endGroup();
    EXPECT_EQ(f.win->pointList()->count(), 2);  // the point and one "-1"
}

TEST(MapWindow, BadGridIsReportedAndAddsNothing) {
    Fixture f;
    EXPECT_FALSE(f.win->addMap(surfer::MapKind::Image, f.dir.path("missing.grd")));
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_NE(f.prompt.shown[0].text.find("missing.grd"), std::string::npos);
    EXPECT_EQ(f.app->Documents.Count(), 0);  // no empty plot left behind
    // An all-blank grid gets a frame that paints nothing.
    Grid blank(5, 5, 0, 4, 0, 4);
    trelvik::formats::writeSurferGrid(f.dir.path("blank.grd"), blank, trelvik::formats::SurferGridFormat::Ascii);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, f.dir.path("blank.grd")));
    auto map = f.plot()->Shapes.maps().back();
    QImage img = f.shot("blank");
    const QPointF c = f.win->canvas()->pageToPixel({map->Left + map->XLength / 2, map->Top - map->YLength / 2});
    EXPECT_EQ(img.pixel(c.toPoint()), img.pixel(2, 2));
}

TEST(MapWindow, WorksheetsShowAsTextAndVisibleShowsTheWindow) {
    ensureApp();
    trelvik::testing::TempFolder dir;
    auto app = surfer::connect("Surfer.Application", true);
    auto sheet = std::static_pointer_cast<surfer::Worksheet>(app->Documents.Add(2));
    sheet->setCell(1, 1, "Volume");
    sheet->setCell(1, 2, "12.5");
    trelvik::surferwin::watchVisibleInstances();
    app->Visible = true;
    wait(800);
    MapWindow* w = trelvik::surferwin::findMapWindow(app->processId());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    auto* text = w->findChild<QPlainTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains("Volume,12.5"));
    EXPECT_TRUE(w->windowTitle().contains(QString::number(app->processId())));
    // Closed by hand it stays closed, until a tool draws into the instance again.
    w->hide();
    wait(700);
    EXPECT_FALSE(w->isVisible());
    surfer::asPlot(app->Documents.Add(1))->Shapes.AddText(1, 1, "tooth3.grd");
    wait(700);
    EXPECT_TRUE(w->isVisible());
    app->Visible = false;
    wait(800);
    EXPECT_FALSE(w->isVisible());
    // An instance the tools never make visible shows its window once they draw into it.
    // Made and drawn into before the watcher looks: the window still comes.
    auto hidden = surfer::connect("Surfer.APP", true);
    hidden->call("DrawText", surfer::Positional{4, 6, "tooth3.grd", "tooth3.grdtxt"});
    wait(700);
    MapWindow* h = trelvik::surferwin::findMapWindow(hidden->processId());
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(h->isVisible());
}

TEST(MapWindow, ShortScaleBarPrintsOnlyTheNumbersThatFit) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "plane.grd", 21, 11, tilted)));
    auto map = f.plot()->Shapes.maps().back();
    auto bar = map->ScaleBars.Add();  // 8 cycles of 0.05 on a 10-unit map: a few pixels each
    bar->CycleSpacing = bar->LabelIncrement = 0.05;
    bar->NumCycles = 8;
    f.win->refresh();
    QImage img = f.shot("scalebar");
    const QRgb background = img.pixel(2, 2);
    // The number row under the bar holds separate numbers with gaps between them, not
    // a smear of nine overlapping ones.
    const double ppi = f.win->canvas()->pixelsPerInch();
    const QPoint ll = f.pixelOf(map->Left, map->Top - map->YLength);
    const int rowTop = ll.y() + int(0.45 * ppi + 12 + std::max(4.0, 0.08 * ppi)) + 2;
    int longest = 0, run = 0;
    for (int x = ll.x() - 10; x < ll.x() + 150; ++x) {
        bool ink = false;
        for (int y = rowTop; y < rowTop + 16; ++y) ink = ink || img.pixel(x, y) != background;
        longest = std::max(longest, run = ink ? run + 1 : 0);
    }
    EXPECT_GT(longest, 0);
    EXPECT_LT(longest, QFontMetrics(f.win->canvas()->font()).horizontalAdvance("0.4") + 4);
}

TEST(MapWindow, NewDocumentTakesTheNextMapsAndSelectedMapsCanBeDeleted) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, grid));
    auto first = f.plot();
    ASSERT_EQ(first->Shapes.maps().size(), 2u);
    first->Shapes.AddText(first->Shapes.maps()[1]->Left, first->Shapes.maps()[1]->Top + 0.35, "plane.grd");

    // A new plot document becomes the active one: a tool's next map lands there.
    f.win->newPlotDocument();
    EXPECT_EQ(f.app->Documents.Count(), 2);
    auto second = f.plot();
    EXPECT_NE(second, first);
    EXPECT_EQ(f.win->canvas()->document(), second);
    second->Shapes.AddReliefMap(grid);
    EXPECT_EQ(first->Shapes.maps().size(), 2u);

    // Choosing the first document again makes it active.
    f.win->refresh();
    auto* combo = f.win->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 2);
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(f.plot(), first);

    // A click on the image map selects it; Delete takes it and its label off the plot.
    auto image = first->Shapes.maps()[1];
    f.win->canvas()->zoomToFit();
    const QPoint at = f.pixelOf(image->Left + image->XLength / 2, image->Top - image->YLength / 2);
    f.click(at);
    EXPECT_EQ(f.win->selectedMap(), image);
    EXPECT_TRUE(f.win->deleteSelectedMap());
    ASSERT_EQ(first->Shapes.maps().size(), 1u);
    EXPECT_EQ(first->Shapes.maps()[0]->mapKind(), surfer::MapKind::Relief);
    EXPECT_EQ(first->Shapes.Count(), 1);  // the label went with its map
    EXPECT_FALSE(f.win->deleteSelectedMap());  // nothing selected now
    EXPECT_FALSE(f.win->selectMapAt({-50, -50}));

    // Closing the shown document brings back the one active before it.
    EXPECT_TRUE(f.win->closeShownDocument());
    EXPECT_EQ(f.app->Documents.Count(), 1);
    EXPECT_EQ(f.plot(), second);
    f.win->refresh();
    EXPECT_EQ(f.win->canvas()->document(), second);
}

TEST(MapWindow, ClearEmptiesTheListAndTheDigitiseButtonShowsItsState) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    EXPECT_EQ(f.win->digitiseButton()->text(), "Digitise: off");
    f.win->digitiseButton()->click();
    EXPECT_TRUE(f.win->canvas()->digitiseMode());
    EXPECT_EQ(f.win->digitiseButton()->text(), "Digitise: ON");
    auto map = f.plot()->Shapes.maps().back();
    double px, py;
    map->mapToPage(5, 2.5, px, py);
    f.click(f.pixelOf(px, py));
    f.win->endGroup();
    EXPECT_EQ(f.win->pointList()->count(), 2);
    f.win->clearButton()->click();
    EXPECT_EQ(f.win->pointList()->count(), 0);
    EXPECT_TRUE(f.win->digitised().entries().empty());
    f.click(f.pixelOf(px, py));
    EXPECT_EQ(f.win->digitised().pointCount(), 1);
    f.win->digitiseButton()->click();
    EXPECT_FALSE(f.win->canvas()->digitiseMode());
    EXPECT_EQ(f.win->digitiseButton()->text(), "Digitise: off");
}

TEST(MapWindow, EachDocumentKeepsItsOwnPointsDrawnAtTheirMapCoordinates) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    auto first = f.plot();
    auto map = first->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    double px, py;
    for (double x : {2.0, 6.0}) {
        map->mapToPage(x, 2.5, px, py);
        f.click(f.pixelOf(px, py));
    }
    ASSERT_EQ(f.win->digitised().pointCount(), 2);

    // A new document starts with an empty list and draws none of the first one's marks.
    f.win->newPlotDocument();
    EXPECT_TRUE(f.win->digitised().entries().empty());
    EXPECT_EQ(f.win->pointList()->count(), 0);
    EXPECT_TRUE(f.win->canvas()->markPositions().empty());
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, grid));
    f.win->refresh();
    auto other = f.plot()->Shapes.maps().back();
    other->mapToPage(8, 4, px, py);
    f.click(f.pixelOf(px, py));
    EXPECT_EQ(f.win->digitised().pointCount(), 1);

    // Back on the first document: its own two points, drawn where its map shows them
    // even after the frame has moved on the page.
    auto* combo = f.win->findChild<QComboBox*>();
    emit combo->activated(0);
    ASSERT_EQ(f.win->canvas()->document(), first);
    ASSERT_EQ(f.win->digitised().pointCount(), 2);
    EXPECT_EQ(f.win->pointList()->count(), 2);
    map->Left += 3;
    map->Top -= 1;
    const auto marks = f.win->canvas()->markPositions();
    ASSERT_EQ(marks.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& e = f.win->digitised().entries()[i];
        map->mapToPage(e.x, e.y, px, py);
        ASSERT_TRUE(marks[i]);
        EXPECT_NEAR(marks[i]->x(), px, 1e-9);
        EXPECT_NEAR(marks[i]->y(), py, 1e-9);
    }
    // Closing it leaves the second document's list.
    EXPECT_TRUE(f.win->closeShownDocument());
    f.win->refresh();
    EXPECT_EQ(f.win->digitised().pointCount(), 1);
}

TEST(MapWindow, DigitiseQuestionOpensBesideItsToolWindowClearOfTheMapWindowBroughtToTheFront) {
    surfer::shutdownAll();  // no window of an earlier test's instance comes forward meanwhile
    Fixture f;
    const QRect avail = f.win->screen()->availableGeometry();
    f.win->setGeometry(avail.left() + avail.width() / 2, avail.top(), avail.width() / 2, avail.height() * 3 / 4);
    f.win->activateWindow();
    wait(50);
    // A tool window opened later, active and in front.
    QWidget tool;
    tool.setGeometry(avail.left(), avail.top(), avail.width() / 2 - 40, avail.height() / 3);
    tool.show();
    tool.activateWindow();
    wait(50);
    trelvik::QtPrompt qt;
    trelvik::WindowPrompt prompt(qt, &tool);
    QRect asked;
    bool staysOnTop = true;
    const QWindow* transientFor = nullptr;
    const QWidget* front = nullptr;
    whenShown<QMessageBox>([&](QMessageBox* question) {
        wait(50);
        asked = question->frameGeometry();
        staysOnTop = question->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        transientFor = question->windowHandle()->transientParent();
        front = QApplication::activeWindow();
        question->button(QMessageBox::Ok)->click();
    });
    EXPECT_TRUE(trelvik::askDigitise(prompt, "Use 'Digitise' to define crest.", "digit2.dat"));
    EXPECT_FALSE(asked.intersects(f.win->frameGeometry()));
    EXPECT_TRUE(avail.contains(asked));
    EXPECT_EQ(front, f.win.get());
    // Not above every window: it stays with its tool window, so the map window's own
    // dialogs come over it.
    EXPECT_FALSE(staysOnTop);
    EXPECT_EQ(transientFor, tool.windowHandle());
}

TEST(MapWindow, OpensWithinTheScreenBesideTheAskingWindowAndAddsMapsFromTheDataFolder) {
    // 1280 x 720 less a panel, a tool window on the left: the map window goes right of it,
    // narrowed to the room there; with the tool window in the middle, to the wider side.
    const QRect avail(0, 0, 1280, 690);
    EXPECT_EQ(trelvik::placeBeside(avail, QRect(0, 0, 600, 500), QSize(1016, 760), 576), QRect(600, 0, 680, 690));
    EXPECT_EQ(trelvik::placeBeside(avail, QRect(500, 100, 400, 500), QSize(1016, 760), 576), QRect(0, 0, 576, 690));
    EXPECT_EQ(trelvik::placeBeside(avail, QRect(), QSize(800, 600), 576), QRect(480, 0, 800, 600));

    Fixture f;
    MapWindow fresh(f.app);
    EXPECT_LE(fresh.height() + trelvik::kWindowFrameAllowance.height(), fresh.screen()->availableGeometry().height());
    trelvik::surferwin::setDataFolderSource([&] { return f.dir.folder(); });
    EXPECT_EQ(f.win->addMapFolder().toStdString(), f.dir.folder());
    trelvik::surferwin::setDataFolderSource({});
}
