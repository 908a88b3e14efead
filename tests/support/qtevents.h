#pragma once
// Waiting in a window test while the event loop runs, so that what the window system
// answers (a window shown, framed, moved) arrives meanwhile.
#include <QApplication>
#include <QEventLoop>
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

} // namespace trelvik::testsupport
