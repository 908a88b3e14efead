#include "widgets/fitscreen.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace trelvik {

namespace {
QScreen* screenOf(const QWidget* window) {
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}
} // namespace

void fitToScreen(QWidget* window, QSize designSize) {
    QScreen* screen = screenOf(window);
    QSize size = designSize;
    if (screen) {
        const QSize room = screen->availableGeometry().size() - kWindowFrameAllowance;
        size = size.boundedTo(room.expandedTo(QSize(320, 240)));
    }
    window->resize(size);
}

void fitNewWindow(QWidget* window) {
    QScreen* screen = screenOf(window);
    if (!screen) return;
    const QSize room = screen->availableGeometry().size() - kWindowFrameAllowance;
    // The size Qt would give it on showing, unless one was set.
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    // Not expanded to the layout's least size here: before the first show, wrapped texts
    // ask for more height than they take; the layout holds its real least size itself.
    window->resize(window->size().boundedTo(room));
}

void keepRoomWhenHidden(QWidget* part) {
    QSizePolicy p = part->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    part->setSizePolicy(p);
}

void keepOnScreen(QWidget* window) {
    QScreen* screen = screenOf(window);
    if (!screen || !window->isWindow()) return;
    const QRect avail = screen->availableGeometry();
    // Shrunk first where it is larger than the free area and its layout lets it (wrapped
    // texts may have asked for more height before the window had its width).
    const QSize border = window->frameGeometry().size() - window->size();
    const QSize room = (avail.size() - border).expandedTo(window->minimumSizeHint());
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
    const QRect frame = window->frameGeometry();
    QPoint at = frame.topLeft();
    at.setX(std::max(avail.left(), std::min(at.x(), avail.left() + avail.width() - frame.width())));
    at.setY(std::max(avail.top(), std::min(at.y(), avail.top() + avail.height() - frame.height())));
    if (at != frame.topLeft()) window->move(at);
}

void sizeForNumber(QWidget* box) {
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-0.00000000000000E-00")) + 12);
}

QRect placeBeside(QRect avail, QRect avoid, QSize size, int minWidth) {
    size = size.boundedTo(avail.size());
    const int availRight = avail.left() + avail.width();
    if (avoid.isEmpty() || !avoid.intersects(avail))
        return QRect(QPoint(availRight - size.width(), avail.top()), size);
    const int roomLeft = avoid.left() - avail.left();
    const int roomRight = availRight - (avoid.left() + avoid.width());
    const bool right = roomRight >= roomLeft;
    const int room = std::max(0, right ? roomRight : roomLeft);
    const int width = std::min(size.width(), std::max(room, std::min(minWidth, size.width())));
    const int x = right ? availRight - width : avail.left();
    return QRect(x, avail.top(), width, size.height());
}

void fitBeside(QWidget* window, QSize designSize, const QWidget* avoid, int minWidth) {
    QScreen* screen = screenOf(window);
    if (!screen || !avoid) {
        fitToScreen(window, designSize);
        return;
    }
    const QRect frame = placeBeside(screen->availableGeometry(), avoid->frameGeometry(),
                                    designSize + kWindowFrameAllowance, minWidth + kWindowFrameAllowance.width());
    window->resize(frame.size() - kWindowFrameAllowance);
    window->move(frame.topLeft());
}

QWidget* toolWindowOnShow(const std::function<bool(const QWidget*)>& skip) {
    auto usable = [&](QWidget* w) { return w && w->isVisible() && !qobject_cast<QDialog*>(w) && !skip(w); };
    if (QWidget* active = QApplication::activeWindow(); usable(active)) return active;
    QWidget* best = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (usable(w) && (!best || w->width() * w->height() > best->width() * best->height())) best = w;
    return best;
}

} // namespace trelvik
