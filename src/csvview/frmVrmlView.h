#pragma once
// The viewer's 3-D view: shows a VRML elevation-grid file as a shaded surface.
// loadFile reads the file and fits the view; Fit turns back to the fitted view;
// dragging with the pointer turns the surface (left-right) and tilts it (up-down).
// The picture is drawn at the widget's size and redrawn when either changes.
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <string>

#include "csvview/vrmlview.h"

namespace trelvik::csvview {

class frmVrmlView : public QWidget {
    Q_OBJECT
public:
    explicit frmVrmlView(QWidget* parent = nullptr);

    // Loads `path` and fits it. Throws trelvik::Error naming the file when it cannot
    // be read; the view then keeps what it showed.
    void loadFile(const std::string& path);
    void Fit();
    void clear();

    bool hasSurface() const { return !scene_.empty(); }
    const std::string& file() const { return file_; }
    const surfer::SurfaceView& view() const { return view_; }
    // The picture as last drawn (drawn now when stale); transparent off the surface.
    const QImage& picture();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void render();

    VrmlScene scene_;
    std::string file_;
    surfer::SurfaceView view_;
    QImage picture_;
    bool stale_ = true;
    bool dragging_ = false;
    QPoint last_;
};

} // namespace trelvik::csvview
