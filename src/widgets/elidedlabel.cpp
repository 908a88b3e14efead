#include "widgets/elidedlabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace trelvik {

ElidedLabel::ElidedLabel(QWidget* parent, Qt::TextElideMode mode) : QLabel(parent), mode_(mode) {
    // Ignored across: the text's width asks nothing of the layout; the height stays one line.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QRect ElidedLabel::textRect() const {
    return contentsRect().adjusted(margin(), margin(), -margin(), -margin());
}

bool ElidedLabel::textCut() const {
    return fontMetrics().horizontalAdvance(text()) > textRect().width();
}

bool ElidedLabel::event(QEvent* e) {
    // A tool tip set on purpose wins; otherwise a cut text is shown whole.
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (textCut())
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    drawFrame(&p);
    const QRect r = textRect();
    const QString shown = fontMetrics().elidedText(text(), mode_, r.width());
    style()->drawItemText(&p, r, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
                          shown, foregroundRole());
}

} // namespace trelvik
