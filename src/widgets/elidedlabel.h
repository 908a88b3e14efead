#pragma once
// A one-line label whose text never sets the width of its window: the layout gives it
// the room the other controls leave, a text longer than that ends in "..." (or, for a
// folder, gives way in the middle) and the whole text shows as the label's tool tip. For
// status lines that change while a run goes, so that a long line neither widens nor
// moves the window, and for folders that lie deep.
#include <QLabel>

namespace trelvik {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideRight);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QRect textRect() const;
    bool textCut() const;
    Qt::TextElideMode mode_;
};

} // namespace trelvik
