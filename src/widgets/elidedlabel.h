#pragma once
// A one-line label whose text never sets the width of its window: the layout gives it
// the room the other controls leave, a text longer than that ends in "..." and the
// whole text shows as the label's tool tip. For status lines that change while a run
// goes, so that a long line neither widens nor moves the window.
#include <QLabel>

namespace trelvik {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QRect textRect() const;
    bool textCut() const;
};

} // namespace trelvik
