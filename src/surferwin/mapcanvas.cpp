#include "surferwin/mapcanvas.h"

#include "core/textform.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace trelvik::surferwin {

namespace {
// Map images are never rendered larger than this along a side, however far one zooms.
constexpr int kMaxImageSide = 2400;

QColor colourOf(std::uint32_t argb) { return QColor::fromRgba(argb); }

QString number(double v) { return QString::fromStdString(trelvik::text::CStr(v)); }

// Axis-end numbers of a 3-D view are extremes, not round ticks: 4 significant digits.
QString shortNumber(double v) {
    if (v == 0 || !std::isfinite(v)) return number(v);
    const double p = std::pow(10.0, 3 - std::floor(std::log10(std::fabs(v))));
    return number(std::round(v * p) / p);
}

surfer::SurfaceView viewOf(const surfer::MapFrame& m) {
    surfer::SurfaceView v;
    v.rotation = m.ViewRotation;
    v.tilt = m.ViewTilt;
    v.projection = m.ViewProjection == 2 ? surfer::Projection::Orthographic : surfer::Projection::Perspective;
    v.xyUnitsPerInch = m.xMapPerPU();
    v.zUnitsPerInch = m.zMapPerPU;
    v.lightAzimuth = m.LightAzimuth;
    v.lightZenith = m.LightZenith;
    return v;
}
} // namespace

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(300, 240);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 236, 236));
    setPalette(pal);
}

void MapCanvas::setDocument(std::shared_ptr<surfer::PlotDocument> doc) {
    if (doc == doc_) return;
    doc_ = std::move(doc);
    cache_.clear();
    fitted_ = false;
    update();
}

void MapCanvas::setMarks(std::vector<std::optional<Mark>> marks) {
    marks_ = std::move(marks);
    update();
}

std::vector<std::optional<QPointF>> MapCanvas::markPositions() const {
    std::vector<std::optional<QPointF>> out;
    out.reserve(marks_.size());
    for (const auto& m : marks_) {
        const auto map = m ? m->map.lock() : nullptr;
        if (!map) {
            out.push_back(std::nullopt);
            continue;
        }
        double px = 0, py = 0;
        map->mapToPage(m->x, m->y, px, py);
        out.push_back(QPointF(px, py));
    }
    return out;
}

void MapCanvas::setSelectedMap(std::shared_ptr<const surfer::MapFrame> map) {
    selected_ = map;
    update();
}

void MapCanvas::setDigitiseMode(bool on) {
    digitise_ = on;
    setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
}

void MapCanvas::zoomToFit() {
    fitted_ = true;
    userView_ = false;
    double x0 = 0, x1 = 8.5, y0 = 0, y1 = 11;  // an empty page shows a letter sheet
    bool any = false;
    auto grow = [&](double ax, double ay, double bx, double by) {
        if (!any) {
            x0 = ax, x1 = bx, y0 = ay, y1 = by;
            any = true;
        }
        x0 = std::min(x0, ax), x1 = std::max(x1, bx), y0 = std::min(y0, ay), y1 = std::max(y1, by);
    };
    if (doc_) {
        for (const auto& s : doc_->Shapes.all()) {
            if (s->kind() == surfer::ShapeKind::Map) {
                const auto& m = static_cast<const surfer::MapFrame&>(*s);
                // Room for tick labels, the colour scale and scale bars around the frame.
                grow(m.Left - 0.9, m.Top - m.YLength - 1.0, m.Left + m.XLength + 1.3, m.Top + 0.4);
            } else {
                const auto& t = static_cast<const surfer::TextShape&>(*s);
                grow(t.X - 1, t.Y - 0.4, t.X + 2, t.Y + 0.4);
            }
        }
    }
    const double w = std::max(x1 - x0, 0.1), h = std::max(y1 - y0, 0.1);
    ppi_ = std::max(1e-3, std::min(width() / w, height() / h));
    origin_ = QPointF((width() - w * ppi_) / 2 - x0 * ppi_, (height() - h * ppi_) / 2 + y1 * ppi_);
    update();
}

void MapCanvas::zoomBy(double factor, QPointF aboutPixel) {
    const QPointF page = pixelToPage(aboutPixel);
    userView_ = true;
    ppi_ = std::clamp(ppi_ * factor, 0.5, 5000.0);
    origin_ = QPointF(aboutPixel.x() - page.x() * ppi_, aboutPixel.y() + page.y() * ppi_);
    update();
}

QPointF MapCanvas::pageToPixel(QPointF page) const {
    return {origin_.x() + page.x() * ppi_, origin_.y() - page.y() * ppi_};
}

QPointF MapCanvas::pixelToPage(QPointF pixel) const {
    return {(pixel.x() - origin_.x()) / ppi_, (origin_.y() - pixel.y()) / ppi_};
}

void MapCanvas::resizeEvent(QResizeEvent*) {
    if (!userView_) zoomToFit();
}

void MapCanvas::wheelEvent(QWheelEvent* e) {
    zoomBy(std::pow(1.0015, e->angleDelta().y()), e->position());
}

void MapCanvas::mousePressEvent(QMouseEvent* e) {
    pressAt_ = e->position();
    if (e->button() == Qt::LeftButton && digitise_) {
        emit pageClicked(pixelToPage(e->position()));
        return;
    }
    dragFrom_ = e->position();
}

void MapCanvas::mouseMoveEvent(QMouseEvent* e) {
    emit pointerMoved(pixelToPage(e->position()));
    if (dragFrom_) {
        userView_ = true;
        origin_ += e->position() - *dragFrom_;
        dragFrom_ = e->position();
        update();
    }
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* e) {
    dragFrom_.reset();
    const QPointF moved = e->position() - pressAt_;
    if (e->button() == Qt::LeftButton && !digitise_ && std::hypot(moved.x(), moved.y()) < 4)
        emit pageSelected(pixelToPage(e->position()));
}

void MapCanvas::paintEvent(QPaintEvent*) {
    if (!fitted_) zoomToFit();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!doc_) {
        p.drawText(rect(), Qt::AlignCenter, tr("No plot document"));
        return;
    }
    for (const auto& s : doc_->Shapes.all()) {
        if (s->kind() == surfer::ShapeKind::Map) drawMap(p, static_cast<const surfer::MapFrame&>(*s));
        else drawText(p, static_cast<const surfer::TextShape&>(*s));
    }
    if (const auto sel = selected_.lock()) {
        const QRectF r(pageToPixel({sel->Left, sel->Top}), pageToPixel({sel->Left + sel->XLength, sel->Top - sel->YLength}));
        p.setPen(QPen(QColor(0, 90, 220), 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(-4, -4, 4, 4));
    }
    drawMarks(p);
}

QImage MapCanvas::mapImage(const surfer::MapFrame& m, int w, int h) {
    const auto& L = m.Overlays(1);
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12")
                            .arg(int(m.mapKind()))
                            .arg(w)
                            .arg(h)
                            .arg(L.HLightAngle)
                            .arg(L.VLightAngle)
                            .arg(m.LightAzimuth)
                            .arg(m.LightZenith)
                            .arg(m.ViewProjection)
                            .arg(m.ViewRotation)
                            .arg(m.ViewTilt)
                            .arg(m.zMapPerPU)
                            .arg(m.xMapPerPU());
    Cached& c = cache_[&m];
    if (c.key == key && !c.image.isNull()) return c.image;
    surfer::RgbImage img;
    switch (m.mapKind()) {
    case surfer::MapKind::Relief: img = surfer::renderRelief(m.grid(), w, h, L.HLightAngle, L.VLightAngle); break;
    case surfer::MapKind::Image: img = surfer::renderColourImage(m.grid(), w, h); break;
    case surfer::MapKind::Surface: img = surfer::renderSurface(m.grid(), w, h, viewOf(m)); break;
    case surfer::MapKind::Contour: break;
    }
    QImage q(w, h, QImage::Format_ARGB32);
    q.fill(Qt::transparent);
    if (img.width == w && img.height == h)
        for (int y = 0; y < h; ++y)
            std::copy_n(img.pixels.data() + static_cast<std::size_t>(y) * w, w,
                        reinterpret_cast<std::uint32_t*>(q.scanLine(y)));
    c.key = key;
    c.image = q;
    return q;
}

void MapCanvas::drawMap(QPainter& p, const surfer::MapFrame& m) {
    const QPointF tl = pageToPixel({m.Left, m.Top});
    const QPointF br = pageToPixel({m.Left + m.XLength, m.Top - m.YLength});
    const QRectF rect(tl, br);
    if (rect.width() < 1 || rect.height() < 1) return;
    const QRectF visible = rect.intersected(QRectF(this->rect()));
    // The back edges of a 3-D view go under the surface, which hides them where it
    // stands in front.
    if (m.mapKind() == surfer::MapKind::Surface) drawSurfaceAxes(p, m, rect, true);
    if (m.mapKind() == surfer::MapKind::Contour) {
        drawContours(p, m, rect);
    } else if (!visible.isEmpty()) {
        // Render at the on-screen size, capped, and stretch when zoomed in further.
        const int w = std::min(kMaxImageSide, static_cast<int>(std::ceil(rect.width())));
        const int h = std::min(kMaxImageSide, static_cast<int>(std::ceil(rect.height())));
        p.drawImage(rect, mapImage(m, w, h));
    }
    if (m.mapKind() == surfer::MapKind::Surface) drawSurfaceAxes(p, m, rect, false);
    else drawFlatAxes(p, m, rect);
    if (m.Overlays(1).ShowColorScale && m.mapKind() != surfer::MapKind::Relief) drawColourScale(p, m, rect);
    drawScaleBars(p, m, rect);
}

void MapCanvas::drawContours(QPainter& p, const surfer::MapFrame& m, QRectF rect) {
    Cached& c = cache_[&m];
    if (c.contours.empty()) {
        const auto& g = m.grid();
        c.contours = surfer::traceContours(g, surfer::contourLevels(g.zMin(), g.zMax(), 10));
        if (c.contours.empty()) c.contours.push_back({0, {}});  // marks "traced" for a flat grid
    }
    const auto& g = m.grid();
    const double zLo = g.zMin(), zHi = g.zMax();
    const double sx = rect.width() / std::max(g.xMax - g.xMin, 1e-300);
    const double sy = rect.height() / std::max(g.yMax - g.yMin, 1e-300);
    p.save();
    p.setClipRect(rect);
    for (const auto& lv : c.contours) {
        if (lv.segments.empty()) continue;
        const double t = zHi > zLo ? (lv.level - zLo) / (zHi - zLo) : 0.5;
        p.setPen(QPen(colourOf(surfer::rampColour(t)), 1.2));
        QPainterPath path;
        for (const auto& s : lv.segments) {
            path.moveTo(rect.left() + (s.x0 - g.xMin) * sx, rect.bottom() - (s.y0 - g.yMin) * sy);
            path.lineTo(rect.left() + (s.x1 - g.xMin) * sx, rect.bottom() - (s.y1 - g.yMin) * sy);
        }
        p.drawPath(path);
    }
    p.restore();
}

void MapCanvas::drawFlatAxes(QPainter& p, const surfer::MapFrame& m, QRectF rect) {
    const auto& g = m.grid();
    struct Side {
        int index;
        bool horizontal;
        double lo, hi;
    };
    const Side sides[4] = {{1, true, g.xMin, g.xMax}, {2, false, g.yMin, g.yMax},
                           {3, true, g.xMin, g.xMax}, {4, false, g.yMin, g.yMax}};
    // Axis numbers are 9 points on the page, so they keep their place beside the map
    // (and clear of its label) at any zoom; too small to read, they are left out.
    p.save();
    QFont font = p.font();
    const double numberPixels = 9.0 / 72.0 * ppi_;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(numberPixels))));
    p.setFont(font);
    const bool numbersReadable = numberPixels >= 5;
    const QFontMetricsF fm(p.font());
    const double tick = std::max(3.0, 0.08 * ppi_);
    for (const Side& s : sides) {
        const surfer::Axis& a = m.Axes(s.index);
        QLineF line;
        switch (s.index) {
        case 1: line = QLineF(rect.bottomLeft(), rect.bottomRight()); break;
        case 2: line = QLineF(rect.bottomLeft(), rect.topLeft()); break;
        case 3: line = QLineF(rect.topLeft(), rect.topRight()); break;
        default: line = QLineF(rect.bottomRight(), rect.topRight()); break;
        }
        p.setPen(QPen(Qt::black, 1));
        if (a.AxisLine.Style != "Invisible") p.drawLine(line);
        if (!(s.hi > s.lo)) continue;
        const double step = surfer::niceStep((s.hi - s.lo) / 5);
        // Ticks point away from the map (outside), into it, or both.
        const double outward = (s.index == 1 || s.index == 2) ? 1 : -1;
        for (double v = std::ceil(s.lo / step - 1e-9) * step; v <= s.hi + step * 1e-9; v += step) {
            const double f = (v - s.lo) / (s.hi - s.lo);
            const QPointF at = line.pointAt(f);
            const QPointF dir = s.horizontal ? QPointF(0, outward) : QPointF(-outward, 0);
            if (a.MajorTickType != 1) {
                const double out = a.MajorTickType == 3 ? 0 : tick;
                const double in = a.MajorTickType == 2 ? 0 : tick;
                p.drawLine(at - dir * in, at + dir * out);
            }
            if (!a.ShowLabels || !numbersReadable) continue;
            const QString text = number(std::fabs(v) < step * 1e-9 ? 0.0 : v);
            const QSizeF size = fm.size(0, text);
            QPointF c = at + dir * (tick + 2);
            QRectF box(QPointF(0, 0), size);
            if (s.horizontal) box.moveCenter(c + QPointF(0, outward * size.height() / 2));
            else box.moveCenter(c - QPointF(outward * size.width() / 2, 0));
            p.drawText(box, Qt::AlignCenter, text);
        }
    }
    p.restore();
}

void MapCanvas::drawSurfaceAxes(QPainter& p, const surfer::MapFrame& m, QRectF rect, bool back) {
    const auto& g = m.grid();
    const surfer::SurfaceProjector proj(g, std::max(1, int(rect.width())), std::max(1, int(rect.height())),
                                        viewOf(m));
    if (!proj.valid) {
        if (back) return;
        p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
        p.drawRect(rect);
        return;
    }
    const double z0 = g.zMin(), z1 = g.zMax();
    auto at = [&](double x, double y, double z) {
        double px, py;
        proj.project(x, y, z, px, py);
        return rect.topLeft() + QPointF(px, py);
    };
    struct Edge {
        QPointF a, b;
        double from, to;
    };
    const Edge edges[5] = {{at(g.xMin, g.yMin, z0), at(g.xMax, g.yMin, z0), g.xMin, g.xMax},
                           {at(g.xMin, g.yMin, z0), at(g.xMin, g.yMax, z0), g.yMin, g.yMax},
                           {at(g.xMin, g.yMin, z0), at(g.xMin, g.yMin, z1), z0, z1},
                           {at(g.xMin, g.yMax, z0), at(g.xMax, g.yMax, z0), g.xMin, g.xMax},
                           {at(g.xMax, g.yMin, z0), at(g.xMax, g.yMax, z0), g.yMin, g.yMax}};
    for (int k = back ? 3 : 0; k < (back ? 5 : 3); ++k) {
        const surfer::Axis& a = m.Axes(k + 1);
        const Edge& e = edges[k];
        p.setPen(QPen(Qt::black, 1));
        if (a.AxisLine.Style != "Invisible") p.drawLine(e.a, e.b);
        if (!a.ShowLabels || !(e.to > e.from)) continue;
        // The three axes meet at one corner: x labels both ends below, y only its far
        // end, z both ends to the left, so no two numbers overlap. An axis seen end on
        // (z from straight above) gets no numbers: they would print over each other.
        const QFontMetricsF fm(p.font());
        if (QLineF(e.a, e.b).length() < 2 * fm.height()) continue;
        const QString lo = shortNumber(e.from), hi = shortNumber(e.to);
        if (k == 2) {
            p.drawText(e.a + QPointF(-fm.horizontalAdvance(lo) - 6, 0), lo);
            p.drawText(e.b + QPointF(-fm.horizontalAdvance(hi) - 6, 4), hi);
        } else {
            if (k == 0) p.drawText(e.a + QPointF(2, 16), lo);
            p.drawText(e.b + QPointF(4, 16), hi);
        }
    }
}

void MapCanvas::drawColourScale(QPainter& p, const surfer::MapFrame& m, QRectF rect) {
    const auto& g = m.grid();
    const double zLo = g.zMin(), zHi = g.zMax();
    if (trelvik::isBlank(zLo)) return;
    const QRectF bar(rect.right() + 0.25 * ppi_, rect.top() + rect.height() * 0.1, std::max(6.0, 0.2 * ppi_),
                     rect.height() * 0.8);
    const int steps = std::max(2, int(bar.height()));
    for (int i = 0; i < steps; ++i) {
        const double t = 1.0 - (i + 0.5) / steps;
        p.fillRect(QRectF(bar.left(), bar.top() + bar.height() * i / steps, bar.width(), bar.height() / steps + 1),
                   colourOf(surfer::rampColour(t)));
    }
    p.setPen(Qt::black);
    p.drawRect(bar);
    const auto levels = surfer::contourLevels(zLo, zHi, 5);
    for (double v : levels) {
        const double y = bar.bottom() - (v - zLo) / (zHi - zLo) * bar.height();
        p.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4, y));
        p.drawText(QPointF(bar.right() + 6, y + 4), number(v));
    }
}

void MapCanvas::drawScaleBars(QPainter& p, const surfer::MapFrame& m, QRectF rect) {
    double y = rect.bottom() + 0.45 * ppi_ + 12;
    for (const auto& bar : m.ScaleBars.all()) {
        if (!(bar->CycleSpacing > 0) || bar->NumCycles < 1 || bar->NumCycles > 1000) continue;
        const double cycle = bar->CycleSpacing / m.xMapPerPU() * ppi_;
        const double h = std::max(4.0, 0.08 * ppi_);
        p.setPen(Qt::black);
        for (long k = 0; k < bar->NumCycles; ++k) {
            const QRectF r(rect.left() + k * cycle, y, cycle, h);
            p.fillRect(r, k % 2 ? Qt::white : Qt::black);
            p.drawRect(r);
        }
        const double total = bar->CycleSpacing * bar->NumCycles;
        if (bar->LabelIncrement > 0 && total / bar->LabelIncrement <= 100) {
            // A bar shorter than its numbers gets only those that fit side by side.
            const QFontMetricsF fm(p.font());
            double freeFrom = -1e9;
            for (double v = 0; v <= total * (1 + 1e-9); v += bar->LabelIncrement) {
                const QString text = number(std::round(v / bar->LabelIncrement) * bar->LabelIncrement);
                const double x = rect.left() + v / bar->CycleSpacing * cycle - 6;
                if (x < freeFrom) continue;
                p.drawText(QPointF(x, y + h + 13), text);
                freeFrom = x + fm.horizontalAdvance(text) + 6;
            }
        }
        y += h + 0.5 * ppi_;
    }
}

void MapCanvas::drawText(QPainter& p, const surfer::TextShape& t) {
    QFont f = p.font();
    f.setPixelSize(std::max(4, static_cast<int>(t.Font.Size / 72.0 * ppi_)));
    p.save();
    p.setFont(f);
    p.setPen(Qt::black);
    const QFontMetricsF fm(f);
    const QString text = QString::fromStdString(t.Text);
    const double w = fm.horizontalAdvance(text);
    const QPointF a = pageToPixel({t.X, t.Y});
    double x = a.x(), y = a.y();  // baseline start
    if (t.Font.HAlign == 2) x -= w / 2;
    else if (t.Font.HAlign == 3) x -= w;
    switch (t.Font.VAlign) {
    case 1: y += fm.ascent(); break;                        // anchor on the top
    case 2: y += (fm.ascent() - fm.descent()) / 2; break;  // centre
    case 4: y -= fm.descent(); break;                       // anchor on the bottom
    default: break;                                         // baseline
    }
    p.drawText(QPointF(x, y), text);
    p.restore();
}

void MapCanvas::drawMarks(QPainter& p) {
    p.save();
    p.setPen(QPen(QColor(220, 0, 0), 1.5));
    std::optional<QPointF> previous;
    for (const auto& m : markPositions()) {
        if (!m) {
            previous.reset();
            continue;
        }
        const QPointF at = pageToPixel(*m);
        if (previous) p.drawLine(*previous, at);
        p.drawLine(at + QPointF(-4, -4), at + QPointF(4, 4));
        p.drawLine(at + QPointF(-4, 4), at + QPointF(4, -4));
        previous = at;
    }
    p.restore();
}

} // namespace trelvik::surferwin
