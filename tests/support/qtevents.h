#pragma once
// Waiting in a window test while the event loop runs, so that what the window system
// answers (a window shown, framed, moved) arrives meanwhile.
#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace trelvik::testsupport {

inline void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs act on the first visible top-level widget of type W, once one shows.
template <typename W>
void whenShown(std::function<void(W*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return act(found);
        whenShown<W>(act);
    });
}

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
