#pragma once
// Sizes a top-level window to its design size, or to the screen's free area when
// that is smaller (a window that holds its controls in a scroll area stays usable
// on a small screen instead of running off its edges).
#include <QSize>

class QWidget;

namespace trelvik {

void fitToScreen(QWidget* window, QSize designSize);

} // namespace trelvik
