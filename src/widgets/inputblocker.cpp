#include "widgets/inputblocker.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>

#include <algorithm>

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

HoldOffWindows::HoldOffWindows(std::function<bool(const QWidget*)> stays) : stays_(std::move(stays)) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (startsSteps(w)) holdOff(w);
    // Only to see windows opened meanwhile and close requests: input is left to Qt.
    qApp->installEventFilter(this);
}

HoldOffWindows::~HoldOffWindows() {
    qApp->removeEventFilter(this);
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        if (!it->window || !it->disabledHere) continue;
        it->window->setEnabled(true);
        if (it->focus && it->focus->window() == it->window) it->focus->setFocus(Qt::OtherFocusReason);
    }
}

// A window of its own, as the tool windows and the main window are, and not one left
// usable. Dialogs (the map window's file boxes, modal boxes), popups and tool tips are
// windows of other types: none is held off itself, though one a held-off window owns is
// disabled with it.
bool HoldOffWindows::startsSteps(const QWidget* w) const {
    return w->isWindow() && w->windowType() == Qt::Window && !stays_(w);
}

void HoldOffWindows::holdOff(QWidget* w) {
    Held h{w, w->focusWidget(), false};
    if (w->isEnabled()) {
        w->setEnabled(false);
        h.disabledHere = true;
    }
    held_.push_back(h);
}

bool HoldOffWindows::isHeld(const QObject* o) const {
    return std::any_of(held_.begin(), held_.end(), [o](const Held& h) { return h.window == o; });
}

bool HoldOffWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show && event->type() != QEvent::Close) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !w->isWindow()) return false;
    if (event->type() == QEvent::Show) {
        if (startsSteps(w) && !isHeld(w)) holdOff(w);
        return false;
    }
    // Closing a held-off window (its close box, Alt+F4) is refused, as under a modal box.
    if (!isHeld(w)) return false;
    event->ignore();
    return true;
}

} // namespace trelvik
