#pragma once
// Whether a shown window shows every control whole: no button, box or list squeezed
// below the size its text needs, none reaching outside the widget that holds it.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QWidget>

#include <string>
#include <vector>

namespace layoutcheck {

// The controls of `window` (shown at its own opening size) that are cut: described by
// their class, object text and sizes, for a readable failure.
inline std::vector<std::string> cutControls(QWidget* window) {
    window->show();
    QApplication::processEvents();
    std::vector<std::string> cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w);
        if (!control) continue;
        const QSize need = w->minimumSizeHint();
        const QRect inParent = w->parentWidget() ? w->parentWidget()->rect() : w->rect();
        const bool squeezed = w->height() < need.height() || w->width() < need.width();
        const bool outside = !inParent.contains(w->geometry());
        if (!squeezed && !outside) continue;
        QString what = w->metaObject()->className();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) what += " \"" + b->text() + "\"";
        cut.push_back(what.toStdString() + " " + std::to_string(w->width()) + "x" + std::to_string(w->height()) +
                      " needs " + std::to_string(need.width()) + "x" + std::to_string(need.height()) +
                      (outside ? " (outside its parent)" : ""));
    }
    return cut;
}

// Where the buttons of `window` sit in its own coordinates once its layout has settled:
// the same list before and after a change means no button moved.
inline std::vector<QRect> buttonPlaces(QWidget* window) {
    window->layout()->activate();
    std::vector<QRect> places;
    for (QPushButton* b : window->findChildren<QPushButton*>())
        places.push_back(QRect(b->mapTo(window, QPoint(0, 0)), b->size()));
    return places;
}

} // namespace layoutcheck
