#include "widgets/wheelneedsfocus.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPointer>

namespace trelvik {

namespace {
bool takesWheelForValue(const QObject* o) {
    return qobject_cast<const QComboBox*>(o) || qobject_cast<const QAbstractSpinBox*>(o);
}

class WheelNeedsFocus : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel && event->type() != QEvent::Polish) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || !takesWheelForValue(w)) return false;
        // Such boxes take the focus from the wheel itself by default, before any filter
        // sees it: only a click or Tab gives it to them now.
        if (event->type() == QEvent::Polish && w->focusPolicy() == Qt::WheelFocus)
            w->setFocusPolicy(Qt::StrongFocus);
        if (event->type() != QEvent::Wheel || w->hasFocus()) return false;
        // Ignored and taken: Qt hands the wheel on to the box's parents.
        event->ignore();
        return true;
    }
};
} // namespace

void installWheelNeedsFocus(QApplication& app) {
    static QPointer<WheelNeedsFocus> rule;
    if (rule) return;
    rule = new WheelNeedsFocus;
    rule->setParent(&app);
    app.installEventFilter(rule);
}

} // namespace trelvik
