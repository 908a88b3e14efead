#pragma once
// One long run of a window's step, as the Surfer Functions window runs its batches: the
// window's progress bar shown and reset, a QtProgress on the bar and its status label
// (painting kept up, Esc turned into stopRequested()), the window's other input held
// off (InputBlocker), and the bar hidden and the label emptied again however the run
// ends. Build it in the handler around the step and pass progress() down.
#include "widgets/inputblocker.h"
#include "widgets/qtprogress.h"

#include <QPointer>

class QLabel;
class QProgressBar;
class QWidget;

namespace trelvik {

class ProgressRun {
public:
    ProgressRun(QWidget* window, QProgressBar* bar, QLabel* label = nullptr);
    ~ProgressRun();
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    Progress& progress() { return progress_; }

private:
    QPointer<QProgressBar> bar_;
    QPointer<QLabel> label_;
    QtProgress progress_;
    InputBlocker blocker_;
};

// A window's run bar: hidden until a run shows it.
QProgressBar* makeRunBar(QWidget* parent);

} // namespace trelvik
