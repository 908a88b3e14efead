#pragma once
// Holding off windows' input while a handler waits inside a local event loop.
//
//   InputBlocker   one window, while a long run inside one of its handlers lets window
//                  messages through (to paint and to see Esc): clicks, the wheel, keys
//                  other than Esc and closing are swallowed, so that no second command
//                  and no change of a list can start in the middle of the run. Dialogs
//                  the run opens are windows of their own and stay usable.
//   HoldOffWindows every window that could start a step (the tool windows, the main
//                  window) but some, as a modal box holds windows off, for a box the user
//                  answers after working in other windows of the program (the "Digitise
//                  map" question, answered in the map window): each is disabled for the
//                  box's time and given back as it was (one disabled already stays so, its
//                  focus goes back where it was), one opened meanwhile is held off too,
//                  and their close requests are refused. They take no click, key,
//                  shortcut, wheel, drop, input-method text or accessibility action, so no
//                  second command starts under the box. Everything else works as with no
//                  box open: the windows left usable and what they own (menus, dialogs),
//                  modal boxes, popups made without a parent (a name completer's list, a
//                  menu), tool tips and input methods.
// Each lives for one run or one box (build it in the handler).
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace trelvik {

class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget* window);
    ~InputBlocker() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
};

class HoldOffWindows : public QObject {
public:
    // `stays` names the windows left usable (called for top-level windows).
    explicit HoldOffWindows(std::function<bool(const QWidget*)> stays);
    ~HoldOffWindows() override;
    HoldOffWindows(const HoldOffWindows&) = delete;
    HoldOffWindows& operator=(const HoldOffWindows&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Held {
        QPointer<QWidget> window;
        QPointer<QWidget> focus;  // its focus widget when held off
        bool disabledHere = false;
    };
    bool startsSteps(const QWidget* w) const;
    void holdOff(QWidget* w);
    bool isHeld(const QObject* o) const;
    std::function<bool(const QWidget*)> stays_;
    std::vector<Held> held_;
};

} // namespace trelvik
