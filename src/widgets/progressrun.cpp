#include "widgets/progressrun.h"

#include "widgets/fitscreen.h"

#include <QLabel>
#include <QProgressBar>

namespace trelvik {

namespace {
QProgressBar* reset(QProgressBar* bar) {
    if (bar) {
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->hide();
    }
    return bar;
}
} // namespace

ProgressRun::ProgressRun(QWidget* window, QProgressBar* bar, QLabel* label)
    : bar_(bar), label_(label), progress_(reset(bar), label), blocker_(window) {
    if (label) label->clear();
}

void ProgressRun::ShownFromFirstReport::show() {
    if (run_.bar_ && run_.bar_->isHidden()) run_.bar_->show();
}

void ProgressRun::ShownFromFirstReport::step(long long done, long long total) {
    show();
    run_.progress_.step(done, total);
}

void ProgressRun::ShownFromFirstReport::status(const std::string& text) {
    show();
    run_.progress_.status(text);
}

ProgressRun::~ProgressRun() {
    if (bar_) bar_->hide();
    if (label_) label_->clear();
}

QProgressBar* makeRunBar(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 1);
    bar->setValue(0);
    // The bar's place is kept while it is hidden, so the window does not grow or jump
    // when a run shows it.
    keepRoomWhenHidden(bar);
    bar->hide();
    return bar;
}

} // namespace trelvik
