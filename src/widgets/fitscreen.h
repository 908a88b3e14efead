#pragma once
// Sizes a top-level window to its design size, or to the screen's free area when
// that is smaller (a window that holds its controls in a scroll area stays usable
// on a small screen instead of running off its edges), and places a new window beside
// the one that asked for it.
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

namespace trelvik {

// Room the window manager's title bar and frame take around a window's inside.
inline constexpr QSize kWindowFrameAllowance{16, 40};

void fitToScreen(QWidget* window, QSize designSize);

// A tool window about to open for the first time: its size (the one set, else the one
// its layout asks for) fitted to the screen's free area, title bar and frame included;
// the layout keeps it from going below the least it needs.
void fitNewWindow(QWidget* window);
// Brings a shown top-level window wholly onto the screen's free area, frame included:
// shrunk to it where its layout allows, and moved back onto it (the window manager may
// place a tall window partly below the screen's edge).
void keepOnScreen(QWidget* window);

// A part of a window shown only at times (a run's progress bar or frame): its room is
// kept while it is hidden, so the window does not grow when it appears.
void keepRoomWhenHidden(QWidget* part);

// Widens a read-out box so that a number of 15 significant digits with its sign and
// exponent shows whole.
void sizeForNumber(QWidget* box);

// The frame rectangle for a new window of frame size `size` on the free screen area
// `avail` that covers as little of `avoid` (the window that asked for it) as it can:
// on the side of `avoid` with more room, narrowed to that room but not below minWidth,
// at the top of the area. The size never exceeds the area.
QRect placeBeside(QRect avail, QRect avoid, QSize size, int minWidth);

// The tool window a new window or question belongs with: the active window, else the
// largest top-level window on show; never a dialog nor a window `skip` names. Null
// when there is none.
QWidget* toolWindowOnShow(const std::function<bool(const QWidget*)>& skip);

// Sizes a top-level window to its design size fitted to the screen, and moves it
// beside `avoid` (a null widget: wherever the window manager puts it).
void fitBeside(QWidget* window, QSize designSize, const QWidget* avoid, int minWidth);

} // namespace trelvik
