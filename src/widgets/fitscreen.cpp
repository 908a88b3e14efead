#include "widgets/fitscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace trelvik {

void fitToScreen(QWidget* window, QSize designSize) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    QSize size = designSize;
    if (screen) {
        // Leave room for the title bar and frame the window manager adds.
        const QSize room = screen->availableGeometry().size() - QSize(16, 40);
        size = size.boundedTo(room.expandedTo(QSize(320, 240)));
    }
    window->resize(size);
}

} // namespace trelvik
