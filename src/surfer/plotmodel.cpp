#include "surfer/plotmodel.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surfer/maprender.h"

#include <algorithm>
#include <cmath>

namespace surfer {

namespace {
const char* kindCall(MapKind k) {
    switch (k) {
    case MapKind::Relief: return "AddReliefMap";
    case MapKind::Contour: return "AddContourMap";
    case MapKind::Image: return "AddImageMap";
    case MapKind::Surface: return "AddSurface";
    }
    return "AddMap";
}

std::vector<Axis> axesFor(MapKind kind) {
    if (kind == MapKind::Surface) {
        std::vector<Axis> a(5);
        a[0].Name = "X Axis";
        a[1].Name = "Y Axis";
        a[2].Name = "Z Axis";
        a[3].Name = "Back X Axis";
        a[4].Name = "Back Y Axis";
        // The back edges frame the surface without repeating the numbers.
        a[3].ShowLabels = a[4].ShowLabels = false;
        return a;
    }
    std::vector<Axis> a(4);
    a[0].Name = "Bottom Axis";
    a[1].Name = "Left Axis";
    a[2].Name = "Top Axis";
    a[3].Name = "Right Axis";
    a[2].ShowLabels = a[3].ShowLabels = false;
    return a;
}
} // namespace

std::shared_ptr<ScaleBar> ScaleBarCollection::Add() {
    auto bar = std::make_shared<ScaleBar>();
    bar->CycleSpacing = bar->LabelIncrement = defaultSpacing_;
    bars_.push_back(bar);
    return bar;
}

std::shared_ptr<ScaleBar> ScaleBarCollection::Item(long index) const {
    if (index < 1 || index > Count())
        throw trelvik::Error("ScaleBars.Item: no scale bar number " + std::to_string(index));
    return bars_[static_cast<std::size_t>(index - 1)];
}

MapFrame::MapFrame(MapKind kind, std::string gridPath, trelvik::Grid grid)
    : Shape(ShapeKind::Map), gridPath_(std::move(gridPath)),
      grid_(std::make_shared<const trelvik::Grid>(std::move(grid))), axes_(axesFor(kind)) {
    layer_.kind = kind;
    layer_.ShowColorScale = kind == MapKind::Image;
    const double w = grid_->xMax - grid_->xMin;
    const double h = grid_->yMax - grid_->yMin;
    // A grid without extent along one side still gets a visible square frame.
    if (w > 0 && h > 0 && std::isfinite(w) && std::isfinite(h)) {
        XLength = w >= h ? kNewMapLongSide : kNewMapLongSide * w / h;
        YLength = w >= h ? kNewMapLongSide * h / w : kNewMapLongSide;
    } else {
        XLength = YLength = kNewMapLongSide;
    }
    Left = kNewMapCentreX - XLength / 2;
    Top = kNewMapCentreY + YLength / 2;
    const double zLo = grid_->zMin(), zHi = grid_->zMax();
    const double zRange = trelvik::isBlank(zLo) ? 0.0 : zHi - zLo;
    zMapPerPU = zRange > 0 ? zRange / 1.5 : xMapPerPU();
    ScaleBars.defaultSpacing_ = w > 0 ? niceStep(w / 4) : 1.0;
}

double MapFrame::xMapPerPU() const {
    const double w = grid_->xMax - grid_->xMin;
    return XLength > 0 && w > 0 ? w / XLength : 1.0;
}

double MapFrame::yMapPerPU() const {
    const double h = grid_->yMax - grid_->yMin;
    return YLength > 0 && h > 0 ? h / YLength : 1.0;
}

MapLayer& MapFrame::Overlays(long index) {
    if (index != 1) throw trelvik::Error("Overlays: the map has no layer " + std::to_string(index));
    return layer_;
}

const MapLayer& MapFrame::Overlays(long index) const { return const_cast<MapFrame*>(this)->Overlays(index); }

Axis& MapFrame::Axes(long index) {
    if (index < 1 || index > axisCount())
        throw trelvik::Error("Axes: the map has no axis " + std::to_string(index));
    return axes_[static_cast<std::size_t>(index - 1)];
}

const Axis& MapFrame::Axes(long index) const { return const_cast<MapFrame*>(this)->Axes(index); }

bool MapFrame::contains(double pageX, double pageY) const {
    return pageX >= Left && pageX <= Left + XLength && pageY <= Top && pageY >= Top - YLength;
}

void MapFrame::pageToMap(double pageX, double pageY, double& mapX, double& mapY) const {
    mapX = grid_->xMin + (pageX - Left) * xMapPerPU();
    mapY = grid_->yMin + (pageY - (Top - YLength)) * yMapPerPU();
}

void MapFrame::mapToPage(double mapX, double mapY, double& pageX, double& pageY) const {
    pageX = Left + (mapX - grid_->xMin) / xMapPerPU();
    pageY = Top - YLength + (mapY - grid_->yMin) / yMapPerPU();
}

bool PlotShapes::remove(const std::shared_ptr<Shape>& shape) {
    const auto it = std::find(shapes_.begin(), shapes_.end(), shape);
    if (it == shapes_.end()) return false;
    shapes_.erase(it);
    selection.erase(std::remove(selection.begin(), selection.end(), shape), selection.end());
    ++revision_;
    return true;
}

std::shared_ptr<MapFrame> PlotShapes::addMap(MapKind kind, const std::string& path, const std::string& callName) {
    app_.log("Shapes." + callName + "(GridFilename:=\"" + path + "\")");
    // Read first: a grid that fails to load leaves the document as it was.
    trelvik::Grid grid = trelvik::formats::readSurferGrid(path);
    if (grid.cols < 2 || grid.rows < 2)
        throw trelvik::Error("Cannot map " + path + ": a grid needs at least 2 rows and 2 columns");
    auto frame = std::make_shared<MapFrame>(kind, path, std::move(grid));
    frame->Name = uniqueName("Map");
    shapes_.push_back(frame);
    ++revision_;
    return frame;
}

std::shared_ptr<MapFrame> PlotShapes::AddReliefMap(const std::string& GridFilename) {
    return addMap(MapKind::Relief, GridFilename, kindCall(MapKind::Relief));
}
std::shared_ptr<MapFrame> PlotShapes::AddContourMap(const std::string& GridFilename) {
    return addMap(MapKind::Contour, GridFilename, kindCall(MapKind::Contour));
}
std::shared_ptr<MapFrame> PlotShapes::AddImageMap(const std::string& GridFilename) {
    return addMap(MapKind::Image, GridFilename, kindCall(MapKind::Image));
}
std::shared_ptr<MapFrame> PlotShapes::AddSurface(const std::string& GridFilename) {
    return addMap(MapKind::Surface, GridFilename, kindCall(MapKind::Surface));
}

std::shared_ptr<TextShape> PlotShapes::AddText(double X, double Y, const std::string& Text) {
    app_.log("Shapes.AddText(X:=" + trelvik::text::CStr(X) + ", Y:=" + trelvik::text::CStr(Y) + ", Text:=\"" +
             Text + "\")");
    auto t = std::make_shared<TextShape>();
    t->X = X;
    t->Y = Y;
    t->Text = Text;
    t->Font = font_;
    t->Name = uniqueName("Text");
    shapes_.push_back(t);
    ++revision_;
    return t;
}

std::shared_ptr<Shape> PlotShapes::Item(long index) const {
    if (index < 1 || index > Count()) throw trelvik::Error("Shapes.Item: no shape number " + std::to_string(index));
    return shapes_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Shape> PlotShapes::find(const std::string& name) const {
    for (const auto& s : shapes_)
        if (s->Name == name) return s;
    return nullptr;
}

std::vector<std::shared_ptr<MapFrame>> PlotShapes::maps() const {
    std::vector<std::shared_ptr<MapFrame>> out;
    for (const auto& s : shapes_)
        if (s->kind() == ShapeKind::Map) out.push_back(std::static_pointer_cast<MapFrame>(s));
    return out;
}

std::string PlotShapes::uniqueName(const std::string& stem) {
    for (;;) {
        std::string name = stem + std::to_string(++counter_);
        if (!find(name)) return name;
    }
}

std::shared_ptr<PlotDocument> asPlot(const std::shared_ptr<Document>& doc) {
    if (!doc) throw trelvik::Error("No document");
    if (doc->kind() != DocumentKind::Plot) throw trelvik::Error(doc->Name + " is not a plot document");
    return std::static_pointer_cast<PlotDocument>(doc);
}

} // namespace surfer
