#include "widgets/progressrun.h"

#include "widgets/fitscreen.h"

#include <QLabel>
#include <QProgressBar>

namespace trelvik {

namespace {
QProgressBar* shown(QProgressBar* bar) {
    if (bar) {
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->show();
    }
    return bar;
}
} // namespace

ProgressRun::ProgressRun(QWidget* window, QProgressBar* bar, QLabel* label)
    : bar_(bar), label_(label), progress_(shown(bar), label), blocker_(window) {
    if (label) label->clear();
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
