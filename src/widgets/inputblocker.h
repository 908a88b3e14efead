#pragma once
// Holding off windows' input while a handler waits inside a local event loop.
//
//   InputBlocker   one window, while a long run inside one of its handlers lets window
//                  messages through (to paint and to see Esc): clicks, the wheel, keys
//                  other than Esc and closing are swallowed, so that no second command
//                  and no change of a list can start in the middle of the run. Dialogs
//                  the run opens are windows of their own and stay usable.
//   InputOnlyFor   every window but some, as a modal box holds them off, for a box the
//                  user answers after working in other windows of the program (the
//                  "Digitise map" question, answered in the map window): the windows
//                  named, the windows they own (menus, dialogs) and modal boxes opened
//                  meanwhile take input; every other window takes no click, key,
//                  shortcut or close, so that no second command starts under the box.
// Each lives for one run or one box (build it in the handler).
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

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

class InputOnlyFor : public QObject {
public:
    // `takesInput` names the windows left usable (called for top-level widgets).
    explicit InputOnlyFor(std::function<bool(const QWidget*)> takesInput);
    ~InputOnlyFor() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool usable(const QWidget* w) const;
    std::function<bool(const QWidget*)> takesInput_;
};

} // namespace trelvik
