#include "csvview/frmVrmlView.h"

#include <QMouseEvent>
#include <QPainter>

#include <cstring>

namespace trelvik::csvview {

frmVrmlView::frmVrmlView(QWidget* parent) : QWidget(parent), view_(fittedView()) {
    setObjectName("Cortona1");
    setMinimumSize(313, 220);
    setCursor(Qt::OpenHandCursor);
}

void frmVrmlView::loadFile(const std::string& path) {
    VrmlScene s = loadVrmlScene(path);  // throws before anything shown changes
    scene_ = std::move(s);
    file_ = path;
    Fit();
}

void frmVrmlView::Fit() {
    view_ = fittedView();
    stale_ = true;
    update();
}

void frmVrmlView::clear() {
    scene_ = VrmlScene();
    file_.clear();
    stale_ = true;
    update();
}

void frmVrmlView::render() {
    stale_ = false;
    const surfer::RgbImage img = drawVrmlScene(scene_, width(), height(), view_);
    if (img.width <= 0 || img.height <= 0) {
        picture_ = QImage();
        return;
    }
    QImage q(img.width, img.height, QImage::Format_ARGB32);
    for (int y = 0; y < img.height; ++y)
        std::memcpy(q.scanLine(y), img.pixels.data() + static_cast<std::size_t>(y) * img.width,
                    static_cast<std::size_t>(img.width) * sizeof(std::uint32_t));
    picture_ = std::move(q);
}

const QImage& frmVrmlView::picture() {
    if (stale_ || picture_.size() != size()) render();
    return picture_;
}

void frmVrmlView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);  // the scene's white background
    if (!hasSurface()) return;
    p.drawImage(0, 0, picture());
}

void frmVrmlView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    last_ = e->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void frmVrmlView::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_) return;
    const QPoint now = e->position().toPoint();
    view_ = dragView(view_, now.x() - last_.x(), now.y() - last_.y());
    last_ = now;
    stale_ = true;
    update();
}

void frmVrmlView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = false;
    setCursor(Qt::OpenHandCursor);
}

} // namespace trelvik::csvview
