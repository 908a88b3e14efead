#pragma once
// The progress callback of a window: shows how far a long computation is on an
// optional progress bar and status label, keeps the window painting, and turns an
// Esc key press anywhere in the program into stopRequested(). Lives for one run of
// a computation (build it in the handler, pass it down).
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include "core/progress.h"

class QLabel;
class QProgressBar;

namespace trelvik {

// Shows done of total on a bar (QProgressBar counts in int: large totals are shown in
// per-mille; a total of 0 or less shows a busy bar). A null bar is left alone.
void showBarStep(QProgressBar* bar, long long done, long long total);

class QtProgress : public QObject, public Progress {
public:
    explicit QtProgress(QProgressBar* bar = nullptr, QLabel* label = nullptr);
    ~QtProgress() override;

    void step(long long done, long long total) override;
    void status(const std::string& text) override;
    bool stopRequested() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lets queued paints and key presses through, at most every few tens of ms so
    // that tight loops are not slowed down by event handling.
    void pump(bool force);

    QPointer<QProgressBar> bar_;
    QPointer<QLabel> label_;
    QElapsedTimer sincePump_;
    bool stop_ = false;
};

} // namespace trelvik
