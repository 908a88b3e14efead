#pragma once
// The drawing surface of the map window: one plot document's page with its maps,
// axes, scale bars, texts and the digitised points, zoomed and panned.
//
// Page inches map to pixels as px = originX + pageX * pixelsPerInch and
// py = originY - pageY * pixelsPerInch (page y runs upwards). zoomToFit() frames
// every shape; the wheel zooms about the pointer; dragging with the right or middle
// button (or the left one outside Digitise mode) pans. Map images are rendered at
// the pixel size they occupy and cached until the frame or its view changes.
#include "surfer/documents.h"
#include "surfer/maprender.h"

#include <QHash>
#include <QImage>
#include <QPointF>
#include <QWidget>
#include <memory>
#include <optional>

namespace trelvik::surferwin {

class MapCanvas : public QWidget {
    Q_OBJECT
public:
    explicit MapCanvas(QWidget* parent = nullptr);

    void setDocument(std::shared_ptr<surfer::PlotDocument> doc);
    std::shared_ptr<surfer::PlotDocument> document() const { return doc_; }

    // A digitised point: map coordinates on the frame it was taken on, so it is drawn
    // where that map shows the point wherever the frame lies on the page.
    struct Mark {
        std::weak_ptr<const surfer::MapFrame> map;
        double x = 0, y = 0;
    };
    // Digitised points to draw; nullopt ends a group.
    void setMarks(std::vector<std::optional<Mark>> marks);
    // Page positions (inches) of the marks as drawn now; nullopt ends a group or stands
    // for a point whose map is no longer on the page.
    std::vector<std::optional<QPointF>> markPositions() const;
    void setDigitiseMode(bool on);
    bool digitiseMode() const { return digitise_; }

    // The map drawn with a selection outline; nullptr for none.
    void setSelectedMap(std::shared_ptr<const surfer::MapFrame> map);
    // Forgets the rendered images (a map was deleted: its address may be reused).
    void dropCache() { cache_.clear(); }

    void zoomToFit();
    bool userView() const { return userView_; }
    void zoomBy(double factor, QPointF aboutPixel);
    QPointF pageToPixel(QPointF page) const;
    QPointF pixelToPage(QPointF pixel) const;
    double pixelsPerInch() const { return ppi_; }

signals:
    // Pointer over the page: position in page inches.
    void pointerMoved(QPointF page);
    // A left click in Digitise mode, in page inches.
    void pageClicked(QPointF page);
    // A left click (press and release without dragging) outside Digitise mode.
    void pageSelected(QPointF page);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void drawMap(class QPainter& p, const surfer::MapFrame& map);
    void drawFlatAxes(QPainter& p, const surfer::MapFrame& map, QRectF rect);
    void drawSurfaceAxes(QPainter& p, const surfer::MapFrame& map, QRectF rect, bool back);
    void drawContours(QPainter& p, const surfer::MapFrame& map, QRectF rect);
    void drawColourScale(QPainter& p, const surfer::MapFrame& map, QRectF rect);
    void drawScaleBars(QPainter& p, const surfer::MapFrame& map, QRectF rect);
    void drawText(QPainter& p, const surfer::TextShape& t);
    void drawMarks(QPainter& p);
    QImage mapImage(const surfer::MapFrame& map, int w, int h);

    std::shared_ptr<surfer::PlotDocument> doc_;
    std::vector<std::optional<Mark>> marks_;
    std::weak_ptr<const surfer::MapFrame> selected_;
    bool digitise_ = false;
    bool fitted_ = false;
    bool userView_ = false;  // zoomed or panned by hand: keep the view on resize
    double ppi_ = 20;
    QPointF origin_{0, 0};
    std::optional<QPointF> dragFrom_;
    QPointF pressAt_;

    struct Cached {
        QString key;
        QImage image;
        std::vector<surfer::ContourLevel> contours;
    };
    QHash<const surfer::MapFrame*, Cached> cache_;
};

} // namespace trelvik::surferwin
