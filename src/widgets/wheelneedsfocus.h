#pragma once
// The wheel over a list box (combo box) or a number box (spin box) changes its value only
// while the box has the keyboard focus. Otherwise the wheel goes on to what holds the box,
// so a window that scrolls goes on scrolling under the pointer instead of changing a
// setting the user only scrolled past; nor does the wheel give such a box the focus.
// One rule for every window of the program: installed once, on the application.
class QApplication;

namespace trelvik {

void installWheelNeedsFocus(QApplication& app);

} // namespace trelvik
