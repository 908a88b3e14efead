#pragma once
// A picture box of the CSV viewer: shows an image buffer at its top-left corner
// inside a box 4 pixels wider and higher, and reports the pointer position in its
// own pixels as the user moves over it.
#include <QFrame>
#include <QImage>

#include <functional>

#include "csvview/renderimage.h"

namespace trelvik::csvview {

class CsvPictureBox : public QFrame {
public:
    explicit CsvPictureBox(QWidget* parent = nullptr);

    // Shows `img` (copied) and sizes the box to it plus the margin.
    void showImage(const RgbImage& img);
    const QImage& image() const { return image_; }

    std::function<void(int x, int y)> onMouseMove;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QImage image_;
};

// The buffer as a QImage (a deep copy).
QImage toQImage(const RgbImage& img);

} // namespace trelvik::csvview
