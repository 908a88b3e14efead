#pragma once
// The wheel over a list box (combo box), a number box (spin box) or a value bar (a slider,
// or a scroll bar of its own that sets a value) changes its value only once the user has
// given it the keyboard focus: by a click (also one that opens a list box's list, or lands
// on the control the window handed the focus), Tab or a shortcut. The focus a window hands its
// first control as it opens or comes back to the front, or that the program moves there,
// does not count; a focus the user gave stays given while the window goes to the back and
// comes forward again, or a popup opens over it. Otherwise the wheel goes on to what holds
// the control, so a window that scrolls goes on scrolling under the pointer instead of
// changing a setting the user only scrolled past; nor does the wheel give such a control
// the focus. The scroll bars of a scrolling page or list are no value bars: they scroll it.
// A scroll bar that sets a value takes the focus from a click or Tab, as the others do.
// One rule for every window of the program: installed once, on the application.
class QApplication;

namespace trelvik {

void installWheelNeedsFocus(QApplication& app);

} // namespace trelvik
