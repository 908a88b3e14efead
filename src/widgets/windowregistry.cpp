#include "widgets/windowregistry.h"

#include "widgets/fitscreen.h"

#include <QTimer>

namespace trelvik {

WindowRegistry::~WindowRegistry() {
    // The run is ending: windows go without their close-time handling (no questions).
    for (const QPointer<QWidget>& w : std::as_const(loaded_)) delete w.data();
}

void WindowRegistry::add(const QString& name, Factory make) {
    factories_.insert(name, std::move(make));
}

QWidget* WindowRegistry::find(const QString& name) const {
    const auto it = loaded_.constFind(name);
    return it == loaded_.constEnd() ? nullptr : it->data();
}

QWidget* WindowRegistry::load(const QString& name) {
    if (QWidget* w = find(name)) return w;
    const auto it = factories_.constFind(name);
    if (it == factories_.constEnd()) return nullptr;
    QWidget* w = (*it)();
    if (!w) return nullptr;
    // Closing a tool window unloads it: the next pick starts from its design state.
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setParent(nullptr);
    loaded_.insert(name, w);
    return w;
}

QWidget* WindowRegistry::show(const QString& name) {
    QWidget* w = load(name);
    if (!w) return nullptr;
    const bool opening = !w->isVisible();
    if (opening) fitNewWindow(w);
    w->show();
    if (opening) {
        // Once the window manager has framed and placed it, the whole frame is brought
        // onto the screen.
        QTimer::singleShot(150, w, [w] { keepOnScreen(w); });
    }
    w->raise();
    w->activateWindow();
    return w;
}

void WindowRegistry::unload(const QString& name) {
    const auto it = loaded_.find(name);
    if (it == loaded_.end()) return;
    QPointer<QWidget> w = *it;
    if (!w) {
        loaded_.erase(it);
        return;
    }
    // close() lets the window run its own close-time handling (and refuse).
    if (!w->close()) return;
    loaded_.remove(name);
    // Deleted at once, not on the next event-loop turn: a later pick in the same
    // handler must see the window gone.
    delete w.data();
}

void WindowRegistry::unloadAll() {
    const QStringList names = loaded_.keys();
    for (const QString& n : names) unload(n);
}

} // namespace trelvik
