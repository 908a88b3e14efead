#include "csvview/frmCSVView_picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace trelvik::csvview {

QImage toQImage(const RgbImage& img) {
    if (img.empty()) return QImage();
    // The buffer's 0xFFRRGGBB words are exactly Format_RGB32 scanlines.
    QImage wrapped(reinterpret_cast<const uchar*>(img.pixels.data()), img.width, img.height,
                   img.width * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_RGB32);
    return wrapped.copy();
}

CsvPictureBox::CsvPictureBox(QWidget* parent) : QFrame(parent) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(redOf(kClearColour), greenOf(kClearColour), blueOf(kClearColour)));
    setPalette(pal);
    setFrameShape(QFrame::NoFrame);
}

void CsvPictureBox::showImage(const RgbImage& img) {
    image_ = toQImage(img);
    setFixedSize(img.width + kPictureMargin, img.height + kPictureMargin);
    update();
}

void CsvPictureBox::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter p(this);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(0, 0, width() - 1, height() - 1);
    if (!image_.isNull()) p.drawImage(0, 0, image_);
}

void CsvPictureBox::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove) onMouseMove(static_cast<int>(e->position().x()), static_cast<int>(e->position().y()));
    QFrame::mouseMoveEvent(e);
}

} // namespace trelvik::csvview
