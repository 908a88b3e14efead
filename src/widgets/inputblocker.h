#pragma once
// Holds off a window's input while a long run inside one of its handlers lets window
// messages through (to paint and to see Esc): clicks, the wheel, keys other than Esc
// and closing are swallowed, so that no second command and no change of a list can
// start in the middle of the run. Dialogs the run opens are windows of their own and
// stay usable. Lives for one run (build it in the handler).
#include <QObject>
#include <QPointer>
#include <QWidget>

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

} // namespace trelvik
