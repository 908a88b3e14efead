// The digitise question beside the map window as a real window manager stacks, frames,
// maximizes and minimizes them: only one shows what the user sees. ctest runs these on
// a display of their own with openbox (tests/support/under-window-manager); offscreen
// they skip themselves. What the user sees at a point is asked of X.
#include "surferwin/wmdesk.h"

#include <QDockWidget>
#include <QFileDialog>
#include <QMenuBar>
#include <QToolBar>

using namespace wmdesk;

TEST(MapWindowUnderWindowManager, DigitiseQuestionStaysAboveAFullScreenMapWindowAndBelowItsDialogs) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    // Asks, maximizing the map window while the question is open when asked to; then
    // what is seen where the question is: on opening, after a click on the map window
    // and while the map window's Add map dialog is open over it.
    const auto ask = [&](bool maximizeMeanwhile) {
        std::vector<std::string> seen;
        f.ask([&](QMessageBox* question) {
            if (maximizeMeanwhile) f.maximize();
            const QPoint inside = question->mapToGlobal(question->rect().center());
            seen.push_back(seenAt(inside));
            f.win->raise();
            f.win->activateWindow();
            wait(400);
            seen.push_back(seenAt(inside));
            whenShown<QFileDialog>([&](QFileDialog* d) {
                d->move(inside - QPoint(d->width() / 2, d->height() / 2));
                wait(400);
                seen.push_back(seenAt(inside));
                d->reject();
            });
            for (auto* act : f.win->findChildren<QAction*>())
                if (act->text() == "Relief map...") act->trigger();
        });
        return seen;
    };
    const std::vector<std::string> expected{"QMessageBox", "QMessageBox", "QFileDialog"};
    EXPECT_EQ(ask(true), expected) << "maximized while the question is open";
    EXPECT_EQ(ask(false), expected) << "maximized before the question opens";
}

TEST(MapWindowUnderWindowManager, DigitiseQuestionOverAMaximizedMapWindowLeavesItsControlsAndMapFree) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    // A tall, narrow crown: the canvas has room beside it.
    trelvik::testing::TempFolder dir;
    trelvik::Grid g(11, 61, 0, 10, 0, 60);
    for (int r = 0; r < 61; ++r)
        for (int c = 0; c < 11; ++c) g.at(c, r) = r + c;
    trelvik::formats::writeSurferGrid(dir.path("crown.grd"), g, trelvik::formats::SurferGridFormat::Binary7);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, dir.path("crown.grd")));
    f.maximize();
    // Tool windows whose spot beside them lies over the dock panel, over the menus and
    // the toolbar, and over the map.
    const QRect a = f.avail;
    for (const QRect toolAt : {QRect(a.right() - 400, a.top() + 40, 300, 150), QRect(a.topLeft(), QSize(300, 20)),
                               QRect(a.center().x() - 150, a.top() + 40, 300, 150)}) {
        f.tool.setGeometry(toolAt);
        f.ask([&](QMessageBox* question) {
            const QRect at = question->frameGeometry();
            EXPECT_EQ(seenAt(at.center()), "QMessageBox");
            for (const QRect free : {onScreen(f.win->menuBar()), onScreen(f.win->findChild<QToolBar*>()),
                                     onScreen(f.win->findChild<QDockWidget*>()), f.drawnMap()}) {
                EXPECT_FALSE(at.intersects(free)) << "tool window at " << toolAt.x() << "," << toolAt.y();
                EXPECT_EQ(seenAt(free.center()), "trelvik::surferwin::MapWindow");
            }
        });
    }
}

TEST(MapWindowUnderWindowManager, DigitiseQuestionGoesBackBesideItsToolWindowWhenTheMapWindowIsRestored) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    f.maximize();
    f.ask([&](QMessageBox* question) {
        f.win->showNormal();
        wait(400);
        EXPECT_FALSE(question->frameGeometry().intersects(f.win->frameGeometry()));
        EXPECT_EQ(seenAt(question->frameGeometry().center()), "QMessageBox");
        EXPECT_EQ(question->windowHandle()->transientParent(), f.tool.windowHandle());
    });
}

TEST(MapWindowUnderWindowManager, DigitiseQuestionStaysInSightWhenTheMapWindowIsMinimized) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    f.maximize();
    f.ask([&](QMessageBox* question) {
        ASSERT_NO_FATAL_FAILURE(f.minimize(question));
        f.tool.raise();
        f.tool.activateWindow();
        EXPECT_TRUE(settle([&] { return seenAt(question->frameGeometry().center()) == "QMessageBox"; }))
            << "waited for the question in sight beside its tool window";
        EXPECT_FALSE(question->frameGeometry().intersects(f.tool.frameGeometry()));
        EXPECT_EQ(question->windowHandle()->transientParent(), f.tool.windowHandle());
        EXPECT_TRUE(f.win->isMinimized());
    });
}

TEST(MapWindowUnderWindowManager, DigitiseQuestionComesBackAboveAMaximizedMapWindowBroughtBackFromMinimized) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    f.maximize();
    f.ask([&](QMessageBox* question) {
        ASSERT_NO_FATAL_FAILURE(f.minimize(question));
        f.win->showMaximized();
        f.win->raise();
        f.win->activateWindow();
        EXPECT_TRUE(settle([&] {
            return question->windowHandle()->transientParent() == f.win->windowHandle() &&
                   seenAt(question->frameGeometry().center()) == "QMessageBox";
        })) << "waited for the question in sight above the map window it belongs to again";
        EXPECT_EQ(seenAt(question->frameGeometry().center()), "QMessageBox");
        EXPECT_EQ(question->windowHandle()->transientParent(), f.win->windowHandle());
    });
}

// A map window closed by hand comes back, with its documents, when a question asks for
// points: the user has nowhere else to click them.
TEST(MapWindowUnderWindowManager, DigitiseQuestionBringsBackTheMapWindowClosedByHand) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    f.win->newPlotDocument();
    const auto doc = f.win->canvas()->document();
    for (auto* act : f.win->findChildren<QAction*>())
        if (act->text() == "Close window") act->trigger();
    ASSERT_TRUE(settle([&] { return !f.win->isVisible(); })) << "waited for the map window closed";
    f.ask([&](QMessageBox*) {
        EXPECT_TRUE(settle([&] {
            return seenAt(f.win->frameGeometry().center()) == "trelvik::surferwin::MapWindow";
        })) << "waited for the map window back in sight";
        EXPECT_EQ(f.win->canvas()->document(), doc);
    });
}

// A question placed over an empty page moves off the map a tool (or the user) then adds.
TEST(MapWindowUnderWindowManager, DigitiseQuestionOverAnEmptyPageMovesOffTheMapAddedUnderIt) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    trelvik::testing::TempFolder dir;
    trelvik::Grid g(61, 21, 0, 60, 0, 20);  // a wide crown: it spans the canvas
    for (int r = 0; r < 21; ++r)
        for (int c = 0; c < 61; ++c) g.at(c, r) = r + c;
    trelvik::formats::writeSurferGrid(dir.path("crown.grd"), g, trelvik::formats::SurferGridFormat::Binary7);
    f.win->newPlotDocument();
    f.maximize();
    f.ask([&](QMessageBox* question) {
        const QRect before = question->frameGeometry();
        ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, dir.path("crown.grd")));
        wait(400);
        ASSERT_TRUE(before.intersects(f.drawnMap())) << "the map must come under the question";
        EXPECT_FALSE(question->frameGeometry().intersects(f.drawnMap()));
        EXPECT_EQ(seenAt(question->frameGeometry().center()), "QMessageBox");
    });
}

// At 1280 x 720 the map window opens beside a tool window as wide as Approach angle's.
TEST(MapWindowUnderWindowManager, MapWindowOpensBesideAWideToolWindow) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    surfer::shutdownAll();
    QWidget tool;
    tool.show();
    wait(200);
    const QRect avail = tool.screen()->availableGeometry();
    const QSize frame = tool.frameGeometry().size() - tool.size();
    tool.setGeometry(avail.left() + 2, avail.top() + 30, 651 - frame.width(), 400);
    tool.activateWindow();
    wait(400);
    ASSERT_GE(tool.frameGeometry().right() + 1, avail.left() + 651);
    MapWindow* win = trelvik::surferwin::showMapWindow(surfer::connect("Surfer.Application", true));
    wait(400);
    EXPECT_FALSE(win->frameGeometry().intersects(tool.frameGeometry()))
        << win->frameGeometry().x() << " against " << tool.frameGeometry().right() + 1;
    EXPECT_TRUE(avail.contains(win->frameGeometry()));
    win->hide();
}
