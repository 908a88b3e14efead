#pragma once
// Small layout helpers shared by the frame builders of the "Surfer Functions" window.
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <initializer_list>

namespace trelvik::surffnslayout {

inline QLineEdit* edit(const QString& text, QWidget* parent, int width = 50) {
    auto* e = new QLineEdit(text, parent);
    e->setMaximumWidth(width);
    return e;
}

// A row "label  [box]" in a grid layout.
inline QLineEdit* labelledEdit(QGridLayout* g, int row, const QString& label, const QString& text, QWidget* parent,
                               int col = 0) {
    auto* l = new QLabel(label, parent);
    l->setWordWrap(true);
    g->addWidget(l, row, col);
    QLineEdit* e = edit(text, parent);
    g->addWidget(e, row, col + 1);
    return e;
}

// Radio buttons that form one option group of their own, whatever box they sit in.
inline void group(QObject* owner, std::initializer_list<QRadioButton*> buttons) {
    auto* g = new QButtonGroup(owner);
    for (QRadioButton* b : buttons) g->addButton(b);
}

} // namespace trelvik::surffnslayout
