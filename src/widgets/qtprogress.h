#pragma once
// The progress callback of a window: shows how far a long computation is on an
// optional progress bar and status label, keeps the window painting, and turns an
// Esc key press anywhere in the program into stopRequested(). Lives for one run of
// a computation (build it in the handler, pass it down).
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

#include "core/progress.h"

class QLabel;
class QProgressBar;

namespace trelvik {

// Shows done of total on a bar (QProgressBar counts in int: large totals are shown in
// per-mille; a total of 0 or less shows a busy bar). A null bar is left alone.
void showBarStep(QProgressBar* bar, long long done, long long total);

class QtProgress : public QObject, public Progress {
public:
    // The least time between two pumps that are not forced.
    static constexpr qint64 kPumpIntervalMs = 40;

    explicit QtProgress(QProgressBar* bar = nullptr, QLabel* label = nullptr);
    ~QtProgress() override;

    // Per-unit updates keep the window painted at most once per pump interval: a step,
    // a status line that is the same as the last one, and status lines that change
    // faster than the interval. A new status line after a quiet spell (once per file or
    // per step) is painted at once.
    void step(long long done, long long total) override;
    void status(const std::string& text) override;
    bool stopRequested() override;

    // For read-outs a window sets itself: keepUp() after one that changes with every
    // unit of a loop (a count), showNow() after one that changes once per file or step.
    void keepUp() { pump(false); }
    void showNow() { pump(true); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lets queued paints and key presses through, at most every few tens of ms so
    // that tight loops are not slowed down by event handling (a repaint of a window can
    // take milliseconds); `force` lets them through now.
    void pump(bool force);

    QPointer<QProgressBar> bar_;
    QPointer<QLabel> label_;
    QElapsedTimer sincePump_;
    std::optional<std::string> lastStatus_;
    QElapsedTimer sinceStatusShown_;
    bool stop_ = false;
};

} // namespace trelvik
