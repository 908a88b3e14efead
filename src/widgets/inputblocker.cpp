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

} // namespace trelvik
