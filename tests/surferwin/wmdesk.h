#pragma once
// What the window-manager tests share: a tool window and a map window of a fresh instance
// on a screen run by a real window manager (ctest runs them on a display of their own
// with openbox, tests/support/under-window-manager), what the user sees at a point asked
// of X, waits bounded in time, and the map window minimized as its minimize button does.
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
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>

namespace wmdesk {
using trelvik::surferwin::MapCanvas;
using trelvik::surferwin::MapWindow;
using trelvik::testsupport::ensureApp;
using trelvik::testsupport::wait;
using trelvik::testsupport::whenShown;

// The kind of window the user sees at a screen point.
inline std::string seenAt(QPoint at) {
    const QWidget* w = QApplication::topLevelAt(at);
    return w ? w->metaObject()->className() : "nothing";
}

// Waits until `done` holds (at most a few seconds): a loaded machine's window manager
// takes its time to take windows down and bring them back. False when it never held: the
// caller fails there, saying what it waited for.
[[nodiscard]] inline bool settle(const std::function<bool()>& done) {
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
inline void iconify(const QWidget* w) {
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

inline QRect onScreen(const QWidget* w) { return {w->mapToGlobal(QPoint(0, 0)), w->size()}; }

// A click at map coordinates (x, y) of the first map on show in a map window.
inline void clickMapOf(MapWindow& win, double x, double y) {
    MapCanvas* canvas = win.canvas();
    double px, py;
    canvas->document()->Shapes.maps().front()->mapToPage(x, y, px, py);
    const QPointF at = canvas->pageToPixel({px, py});
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, canvas->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &e);
    }
}

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
    // A relief map of a tilted grid beside the step's file, with Digitise on.
    void digitising() {
        trelvik::Grid g(21, 11, 0, 10, 0, 5);
        for (int r = 0; r < 11; ++r)
            for (int c = 0; c < 21; ++c) g.at(c, r) = 0.3 * g.x(c) + 0.1 * g.y(r);
        trelvik::formats::writeSurferGrid(files.path("molar.grd"), g, trelvik::formats::SurferGridFormat::Binary7);
        ASSERT_TRUE(win->addMap(surfer::MapKind::Relief, files.path("molar.grd")));
        win->refresh();
        win->setDigitiseMode(true);
    }
    void clickMap(double x, double y) { clickMapOf(*win, x, y); }
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

inline bool needsWindowManager() {
    ensureApp();
    return QGuiApplication::platformName() != "xcb";
}
} // namespace wmdesk
