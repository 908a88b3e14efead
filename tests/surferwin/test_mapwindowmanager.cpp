// The digitise question beside the map window as a real window manager stacks, frames,
// maximizes and minimizes them: only one shows what the user sees. ctest runs these on
// a display of their own with openbox (tests/support/under-window-manager); offscreen
// they skip themselves. What the user sees at a point is asked of X.
#include "formats/surfergrid.h"
#include "support/qtapp.h"
#include "support/qtevents.h"
#include "support/tempfolder.h"
#include "surfer/documents.h"
#include "surferwin/mapcanvas.h"
#include "surferwin/mapwindow.h"
#include "widgets/qtprompt.h"
#include "widgets/windowprompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QToolBar>
#include <QWindow>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>

using trelvik::surferwin::MapCanvas;
using trelvik::surferwin::MapWindow;

namespace {
using trelvik::testsupport::ensureApp;
using trelvik::testsupport::wait;
using trelvik::testsupport::whenShown;

// The kind of window the user sees at a screen point.
std::string seenAt(QPoint at) {
    const QWidget* w = QApplication::topLevelAt(at);
    return w ? w->metaObject()->className() : "nothing";
}

// Waits until `done` holds (at most a few seconds): a loaded machine's window manager
// takes its time to take windows down and bring them back. False when it never held: the
// caller fails there, saying what it waited for.
[[nodiscard]] bool settle(const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i) wait(50);
    wait(100);
    return done();
}

// Minimizes a window as the user does with the window manager's minimize button: one
// request to iconify it, a maximized window staying maximized underneath. A maximized
// widget's showMinimized() instead asks the window manager to drop the maximized state,
// iconify and maximize again, and the window is reported restored in between: the open
// question then brings the map window forward, which the window manager takes as a call
// to restore it from minimized.
void iconify(const QWidget* w) {
    xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const char name[] = "WM_CHANGE_STATE";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = static_cast<xcb_window_t>(w->winId());
    e.type = atom->atom;
    e.data.data32[0] = 3;  // IconicState
    xcb_send_event(c, 0, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&e));
    xcb_flush(c);
    std::free(atom);
}

QRect onScreen(const QWidget* w) { return {w->mapToGlobal(QPoint(0, 0)), w->size()}; }

// A tool window on the left and the map window of a fresh instance on the right of a
// screen run by a window manager.
struct Desk {
    std::shared_ptr<surfer::Application> app;
    std::unique_ptr<MapWindow> win;
    QWidget tool;
    QRect avail;
    trelvik::QtPrompt qt;
    trelvik::WindowPrompt prompt{qt, &tool};
    trelvik::testing::TempFolder files;
    Desk() {
        files.write("digit1.dat", "1,1\n");  // the step's file: OK goes on without a word
        surfer::shutdownAll();
        app = surfer::connect("Surfer.Application", true);
        win = std::make_unique<MapWindow>(app);
        win->resize(900, 700);
        win->show();
        avail = win->screen()->availableGeometry();
        tool.setGeometry(avail.left() + 40, avail.top() + 40, avail.width() / 3, avail.height() / 3);
        tool.show();
        win->setGeometry(avail.left() + avail.width() / 2, avail.top(), avail.width() / 2, avail.height() / 2);
        wait(400);
    }
    void maximize() {
        win->showMaximized();
        wait(400);
    }
    // Minimizes the map window while `question` is open, until the window manager has
    // taken it down and the question has gone back to its tool window.
    void minimize(const QMessageBox* question) {
        iconify(win.get());
        ASSERT_TRUE(settle([&] {
            return win->isMinimized() && question->windowHandle()->transientParent() == tool.windowHandle();
        })) << "waited for the map window minimized and the question back with its tool window; minimized: "
            << win->isMinimized();
    }
    // Where the first map of the page on show is drawn, on the screen.
    QRect drawnMap() const {
        const MapCanvas* canvas = win->canvas();
        const auto m = canvas->document()->Shapes.maps().front();
        return QRectF(canvas->mapToGlobal(canvas->pageToPixel({m->Left, m->Top})),
                      canvas->mapToGlobal(canvas->pageToPixel({m->Left + m->XLength, m->Top - m->YLength})))
            .toRect();
    }
    // Asks the tool window's digitise question and, once it shows, runs `meanwhile`
    // before pressing its OK.
    void ask(const std::function<void(QMessageBox*)>& meanwhile) {
        whenShown<QMessageBox>([&](QMessageBox* question) {
            wait(400);
            meanwhile(question);
            question->button(QMessageBox::Ok)->click();
        });
        EXPECT_TRUE(trelvik::askDigitise(prompt, "Use 'Digitise' to define crest.", files.path("digit1.dat")));
    }
};

bool needsWindowManager() {
    ensureApp();
    return QGuiApplication::platformName() != "xcb";
}
} // namespace

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
