#include "widgets/qtprogress.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <climits>

namespace trelvik {

QtProgress::QtProgress(QProgressBar* bar, QLabel* label) : bar_(bar), label_(label) {
    qApp->installEventFilter(this);
    sincePump_.start();
}

QtProgress::~QtProgress() {
    qApp->removeEventFilter(this);
}

void showBarStep(QProgressBar* bar, long long done, long long total) {
    if (!bar) return;
    if (total <= 0) {
        bar->setRange(0, 0);
    } else if (total <= INT_MAX) {
        bar->setRange(0, static_cast<int>(total));
        bar->setValue(static_cast<int>(std::clamp(done, 0LL, total)));
    } else {
        bar->setRange(0, 1000);
        bar->setValue(static_cast<int>(std::clamp(done, 0LL, total) * 1000 / total));
    }
}

void QtProgress::step(long long done, long long total) {
    showBarStep(bar_, done, total);
    pump(false);
}

void QtProgress::status(const std::string& text) {
    const bool changed = text != lastStatus_;
    if (changed) {
        lastStatus_ = text;
        if (label_) label_->setText(QString::fromStdString(text));
    }
    // A new line after a quiet spell names a step: painted at once. Lines that change
    // faster than the pump's pace count units of a loop ("trial 3 of 200") and wait
    // for it like any other per-unit update.
    const bool now = changed && (!sinceStatusShown_.isValid() || sinceStatusShown_.elapsed() >= kPumpIntervalMs);
    if (now) sinceStatusShown_.restart();
    pump(now);
}

bool QtProgress::stopRequested() {
    pump(false);
    return stop_;
}

bool QtProgress::eventFilter(QObject* watched, QEvent* event) {
    // Esc in a dialog the run opened (a question, a message, the non-modal "Digitise
    // map" question) belongs to that dialog.
    if (event->type() == QEvent::KeyPress && !QApplication::activeModalWidget() &&
        !qobject_cast<QDialog*>(QApplication::activeWindow()) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        stop_ = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void QtProgress::pump(bool force) {
    if (!force && sincePump_.elapsed() < kPumpIntervalMs) return;
    QCoreApplication::processEvents();
    sincePump_.restart();
}

} // namespace trelvik
