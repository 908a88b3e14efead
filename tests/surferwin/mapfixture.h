#pragma once
// What the map window's tests share: grids written to a temporary folder, a map window
// with a scripted prompt, clicks on its canvas, and the digitise question asked and
// answered while a test acts.
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

namespace mapfixture {
using trelvik::testsupport::ensureApp;
using trelvik::testsupport::wait;
using trelvik::testsupport::whenShown;
using trelvik::testsupport::whenTitled;

inline std::string saveGrid(const trelvik::testing::TempFolder& dir, const std::string& name, int cols, int rows,
                     double (*f)(double, double)) {
    Grid g(cols, rows, 0, 10, 0, 10.0 * (rows - 1) / (cols - 1));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) g.at(c, r) = f(g.x(c), g.y(r));
    trelvik::formats::writeSurferGrid(dir.path(name), g, trelvik::formats::SurferGridFormat::Binary7);
    return dir.path(name);
}

// The file the map window's Save... offers (the dialog is closed without saving).
inline QString offeredSaveFile(MapWindow& win) {
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
inline void whileAsked(const std::string& readPath, const std::function<void()>& act) {
    whenShown<QMessageBox>([&](QMessageBox* question) {
        act();
        question->button(QMessageBox::Cancel)->click();
    });
    trelvik::QtPrompt qt;
    EXPECT_FALSE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", readPath));
}

// The file Save... offers while a question's step reads `readPath`.
inline QString offeredWhileAsked(MapWindow& win, const std::string& readPath) {
    QString offered;
    whileAsked(readPath, [&] { offered = offeredSaveFile(win); });
    return offered;
}

inline double tilted(double x, double y) { return 0.3 * x + 0.1 * y; }
inline double coneZ(double x, double y) { return 5 - 0.5 * std::hypot(x - 5, y - 5); }

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
    // The window `width` px wide with a relief map of a tilted grid and Digitise on, for
    // the status line; returns a deep folder made for long paths (with its separator).
    std::string narrowWithADeepFolder(int width) {
        win->resize(width, 700);
        EXPECT_TRUE(win->addMap(surfer::MapKind::Relief, saveGrid(dir, "molar.grd", 21, 11, tilted)));
        win->refresh();
        const std::string deep = dir.path("scans of the lower second molars/left side after smoothing/");
        std::filesystem::create_directories(deep);
        win->setDigitiseMode(true);
        return deep;
    }
    QPoint pixelOf(double pageX, double pageY) {
        return win->canvas()->pageToPixel({pageX, pageY}).toPoint();
    }
    // A click at map coordinates (x, y) of `map`.
    void clickMap(const surfer::MapFrame& map, double x, double y) {
        double px, py;
        map.mapToPage(x, y, px, py);
        click(pixelOf(px, py));
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
} // namespace mapfixture
