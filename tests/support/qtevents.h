#pragma once
// Waiting in a window test while the event loop runs, so that what the window system
// answers (a window shown, framed, moved) arrives meanwhile, and answering a box once it
// shows, and a turn of the wheel as the user gives it. The waits for a box are bounded: one that never shows, or stays open once
// answered (its answer lost), makes the test fail there, naming what it waited for, and
// the test goes on to its end instead of hanging to its time limit.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <functional>
#include <string>

namespace trelvik::testsupport {

// How long a test waits for a box to show, and for a box it answered to go.
inline constexpr int kBoxWaitMs = 30000;

inline void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// One notch of the wheel (down) over `w`, as the window system delivers it, so that it may
// go on to the widget's parents.
inline void turnWheelOver(QWidget* w) {
    QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(w, &e);
}

namespace detail {
// Whether a window answered has gone (hidden, if only to show again).
class GoneWatch : public QObject {
public:
    explicit GoneWatch(QWidget* w) : QObject(w) { w->installEventFilter(this); }
    bool gone = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) gone = true;
        return false;
    }
};

// A window a test answered must go: when it is still open kBoxWaitMs later, the test
// fails naming it, and it is closed so that whatever waits for it goes on.
inline void expectGone(QWidget* w, const std::string& what) {
    auto* watch = new GoneWatch(w);
    QTimer::singleShot(kBoxWaitMs, watch, [watch, w, what] {
        if (!watch->gone && w->isVisible()) {
            ADD_FAILURE() << what << " was still open " << kBoxWaitMs / 1000 << " s after the test answered it";
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            if (w->isVisible()) w->hide();  // also when its close is refused
        }
        watch->deleteLater();
    });
}

template <typename W>
void whenShownWhere(std::function<bool(W*)> matches, std::function<void(W*)> act, std::string what,
                    QDeadlineTimer until) {
    QTimer::singleShot(0, [matches, act, what, until] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<W*>(w); found && found->isVisible() && matches(found)) {
                act(found);
                return expectGone(found, what);
            }
        if (until.hasExpired()) {
            ADD_FAILURE() << "waited " << kBoxWaitMs / 1000 << " s for " << what << " to show";
            return;
        }
        whenShownWhere(matches, act, what, until);
    });
}
} // namespace detail

// Runs act, which answers it, on the first visible top-level widget of type W, once one
// shows.
template <typename W>
void whenShown(std::function<void(W*)> act) {
    detail::whenShownWhere<W>([](W*) { return true; }, std::move(act),
                              std::string("a ") + W::staticMetaObject.className(), QDeadlineTimer(kBoxWaitMs));
}

// Runs act, which answers it, on the first visible message box titled `title`, once one
// shows.
inline void whenTitled(const QString& title, std::function<void(QMessageBox*)> act) {
    detail::whenShownWhere<QMessageBox>([title](QMessageBox* box) { return box->windowTitle() == title; },
                                        std::move(act), "a box titled \"" + title.toStdString() + "\"",
                                        QDeadlineTimer(kBoxWaitMs));
}

// A test still running kTestWaitMs after it started waits for an answer that will not
// come (a box it does not expect, or one whose answer was lost): it fails there, naming
// the boxes open, which are closed (again each second) so that its waits end.
inline constexpr int kTestWaitMs = 90000;

class BoxWatchdog : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        ensureApp();
        if (!timer_) {
            timer_ = new QTimer(QApplication::instance());
            QObject::connect(timer_, &QTimer::timeout, [this] { closeBoxes(); });
        }
        timer_->start(kTestWaitMs);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        if (timer_) timer_->stop();
    }

private:
    void closeBoxes() {
        std::string open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) {
                open += std::string(open.empty() ? "" : ", ") + d->metaObject()->className() + " \"" +
                        d->windowTitle().toStdString() + "\"";
                d->reject();
                if (d->isVisible()) d->hide();  // also when its close is refused
            }
        ADD_FAILURE() << "the test still waited " << kTestWaitMs / 1000 << " s after it started; open: "
                      << (open.empty() ? std::string("no box") : open);
        timer_->start(1000);
    }
    QTimer* timer_ = nullptr;
};

// Watches every test of the program that includes this.
inline bool watchForHangingBoxes() {
    static bool added = [] {
        ::testing::UnitTest::GetInstance()->listeners().Append(new BoxWatchdog);
        return true;
    }();
    return added;
}
inline const bool kBoxWatchdogAdded = watchForHangingBoxes();

// A left click in the middle of `w`, delivered through the application's event filters
// as a click of the user's is (a button's click() would go round them).
inline void leftClick(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

} // namespace trelvik::testsupport
