#include "widgets/fitscreen.h"

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

} // namespace trelvik
