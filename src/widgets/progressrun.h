#pragma once
// One long run of a window's step, as the Surfer Functions window runs its batches: the
// window's progress bar reset, a QtProgress on the bar and its status label (painting
// kept up, Esc turned into stopRequested()), the window's other input held off
// (InputBlocker), and the bar hidden and the label emptied again however the run ends.
// The bar is shown only when the run reports its first step or status, so a step
// refused before its work starts shows no bar under its message. Build it in the
// handler around the step and pass progress() down.
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

    Progress& progress() { return shown_; }

private:
    // The run's progress, showing the bar at the first step or status it reports.
    class ShownFromFirstReport : public Progress {
    public:
        ShownFromFirstReport(ProgressRun& run) : run_(run) {}
        void step(long long done, long long total) override;
        void status(const std::string& text) override;
        bool stopRequested() override { return run_.progress_.stopRequested(); }

    private:
        void show();
        ProgressRun& run_;
    };

    QPointer<QProgressBar> bar_;
    QPointer<QLabel> label_;
    QtProgress progress_;
    ShownFromFirstReport shown_{*this};
    InputBlocker blocker_;
};

// A window's run bar: hidden until a run shows it.
QProgressBar* makeRunBar(QWidget* parent);

} // namespace trelvik
