#include "widgets/inputblocker.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>

namespace trelvik {

InputBlocker::InputBlocker(QWidget* window) : window_(window) { qApp->installEventFilter(this); }

InputBlocker::~InputBlocker() { qApp->removeEventFilter(this); }

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !window_ || (w != window_ && !window_->isAncestorOf(w))) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyRelease:
    case QEvent::Close:
        event->ignore();
        return true;
    case QEvent::KeyPress:
        return static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape;
    default:
        return false;
    }
}

InputOnlyFor::InputOnlyFor(std::function<bool(const QWidget*)> takesInput) : takesInput_(std::move(takesInput)) {
    qApp->installEventFilter(this);
}

InputOnlyFor::~InputOnlyFor() { qApp->removeEventFilter(this); }

bool InputOnlyFor::usable(const QWidget* w) const {
    // Up through the windows that own it: a menu or dialog of a usable window is usable.
    for (; w; w = w->parentWidget()) {
        if (!w->isWindow()) continue;
        // A modal box shown meanwhile was opened by a usable window (the others take no
        // input) and holds off the rest itself: passed over, it could not be answered.
        if (takesInput_(w) || w->isModal()) return true;
    }
    return false;
}

bool InputOnlyFor::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        break;
    default:
        return false;
    }
    const auto* w = qobject_cast<QWidget*>(watched);
    if (!w || usable(w)) return false;
    // A key of a held-off window taken as a shortcut (a menu's, a button's) would run
    // its command: claimed as the window's own key instead, which is then swallowed.
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    else event->ignore();
    return true;
}

} // namespace trelvik
