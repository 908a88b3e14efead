// The window side of the progress callback: bar and label follow the computation,
// and Esc anywhere asks it to stop.
#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include "widgets/progressrun.h"
#include "widgets/qtprogress.h"

using namespace trelvik;
using trelvik::testsupport::ensureApp;

TEST(QtProgress, BarAndLabelFollowSteps) {
    ensureApp();
    QProgressBar bar;
    QLabel label;
    QtProgress progress(&bar, &label);
    progress.step(3, 12);
    EXPECT_EQ(bar.maximum(), 12);
    EXPECT_EQ(bar.value(), 3);
    progress.step(50, 12);  // overshoot is shown as full, not as an error
    EXPECT_EQ(bar.value(), 12);
    progress.step(3'000'000'000LL, 6'000'000'000LL);
    EXPECT_EQ(bar.maximum(), 1000);
    EXPECT_EQ(bar.value(), 500);
    progress.status("Tooth 3 / 12");
    EXPECT_EQ(label.text(), "Tooth 3 / 12");
    EXPECT_FALSE(progress.stopRequested());
}

// A run refused before its work starts shows no bar under its message: the bar appears
// with the run's first report and goes when the run ends.
TEST(ProgressRun, BarHiddenUntilTheFirstReport) {
    ensureApp();
    QWidget window;
    QProgressBar* bar = makeRunBar(&window);
    auto* label = new QLabel(&window);
    window.show();
    for (bool byStatus : {true, false}) {
        ProgressRun run(&window, bar, label);
        EXPECT_FALSE(bar->isVisible());
        EXPECT_FALSE(run.progress().stopRequested());
        EXPECT_FALSE(bar->isVisible());
        if (byStatus) run.progress().status("Segment 1 of 2");
        else run.progress().step(1, 2);
        EXPECT_TRUE(bar->isVisible());
    }
    EXPECT_FALSE(bar->isVisible());
}

TEST(QtProgress, EscapeRequestsStopOnlyWhileAlive) {
    ensureApp();
    QWidget window;
    {
        QtProgress progress;  // no bar or label: still notices Esc
        QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QApplication::sendEvent(&window, &other);
        EXPECT_FALSE(progress.stopRequested());
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window, &esc);
        EXPECT_TRUE(progress.stopRequested());
    }
    QtProgress next;
    EXPECT_FALSE(next.stopRequested());
}

// Esc in a dialog the run opened - the "Digitise map" question is not modal - is the
// dialog's own (its Cancel), not a stop of the run waiting on it.
TEST(QtProgress, EscapeInADialogBelongsToTheDialog) {
    ensureApp();
    QDialog question;
    question.show();
    question.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &question);
    QtProgress progress;
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&question, &esc);
    EXPECT_FALSE(progress.stopRequested());
    EXPECT_FALSE(question.isVisible());  // the dialog took it: rejected
}
