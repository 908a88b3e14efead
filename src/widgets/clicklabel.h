#pragma once
// A label that reports clicks, for the captions that act as links (topic labels).
#include <QLabel>

namespace trelvik {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
        setCursor(Qt::PointingHandCursor);
    }
    // Acts as if the user had clicked the label.
    void click() { emit clicked(); }
    // Sets the text colour through the palette, so the label keeps it on restyles.
    void setTextColor(const QColor& c);
    QColor textColor() const { return palette().color(QPalette::WindowText); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

} // namespace trelvik
