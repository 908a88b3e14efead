#include "widgets/wheelneedsfocus.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QPointer>
#include <QScrollBar>

namespace trelvik {

namespace {
// Set on a control while the focus it holds is one the user gave it.
constexpr char kGivenByUser[] = "trelvikFocusGivenByUser";

// A scroll bar a scroll area keeps for its page or list (a child of the area's bar
// holder, not of the page).
bool scrollsItsArea(const QAbstractSlider* s) {
    const QWidget* holder = s->parentWidget();
    const auto* area = holder ? qobject_cast<const QAbstractScrollArea*>(holder->parentWidget()) : nullptr;
    return area && (area->verticalScrollBar() == s || area->horizontalScrollBar() == s);
}

bool takesWheelForValue(const QObject* o) {
    if (qobject_cast<const QComboBox*>(o) || qobject_cast<const QAbstractSpinBox*>(o)) return true;
    const auto* slider = qobject_cast<const QAbstractSlider*>(o);
    return slider && !scrollsItsArea(slider);
}

// The control a focus event concerns: the widget itself, or the control whose line edit
// takes its focus (a number box's, an editable list box's).
QWidget* controlOf(QWidget* w) {
    for (QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (takesWheelForValue(p)) return p;
    return nullptr;
}

bool givenByUser(Qt::FocusReason r) {
    return r == Qt::MouseFocusReason || r == Qt::TabFocusReason || r == Qt::BacktabFocusReason ||
           r == Qt::ShortcutFocusReason;
}

// The focus leaves and comes back with the window or around a popup: as it was. A list
// box hands it to its own list as that opens, for a reason of its own choosing.
bool keepsWhatItWas(QEvent::Type type, Qt::FocusReason r) {
    return r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason ||
           (type == QEvent::FocusOut && QApplication::activePopupWidget());
}

class WheelNeedsFocus : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::Wheel && type != QEvent::Polish && type != QEvent::FocusIn && type != QEvent::FocusOut &&
            type != QEvent::MouseButtonPress)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w) return false;
        if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            QWidget* control = controlOf(w);
            if (control && !keepsWhatItWas(type, reason))
                control->setProperty(kGivenByUser, type == QEvent::FocusIn && givenByUser(reason));
            return false;
        }
        if (type == QEvent::MouseButtonPress) {
            // A click on the control that holds the focus the window handed it moves no
            // focus, so no focus event says the user gave it: the click itself does.
            QWidget* control = controlOf(w);
            if (control && event->spontaneous() && (control->focusPolicy() & Qt::ClickFocus))
                control->setProperty(kGivenByUser, true);
            return false;
        }
        if (!takesWheelForValue(w)) return false;
        if (type == QEvent::Polish) {
            // Such controls take the focus from the wheel itself by default, before any
            // filter sees it: only a click or Tab gives it to them now. A scroll bar takes
            // none by default, so that it could never be given the wheel.
            if (w->focusPolicy() == Qt::WheelFocus || (qobject_cast<QScrollBar*>(w) && w->focusPolicy() == Qt::NoFocus))
                w->setFocusPolicy(Qt::StrongFocus);
            return false;
        }
        if (w->hasFocus() && w->property(kGivenByUser).toBool()) return false;
        // Ignored and taken: Qt hands the wheel on to the control's parents.
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
