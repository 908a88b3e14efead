#pragma once
// The content of a plot document: map frames and text on a page, with the property
// names of the automation interface.
//
//   auto plot = surfer::asPlot(app->Documents.Item(app->ActiveDocument()->Name));
//   auto map = plot->Shapes.AddReliefMap("/data/tooth3.grd");
//   map->Overlays(1).HLightAngle = 135;
//   map->Left = map->Left + 18;                    // page units are inches
//   map->Axes(1).ShowLabels = false;
//   auto bar = map->ScaleBars.Add();  bar->NumCycles = 8;
//   plot->DefaultFont.HAlign = 1;  plot->Shapes.AddText(x, y, "tooth3.grd");
//
// Page coordinates: inches, x to the right, y upwards. A frame's Left and Top are its
// upper-left corner, so moving a map down lowers Top. A new map frame's longer side is
// 6 inches, the grid's aspect ratio kept, and it is centred at (10.44, 13.5): the
// label positions the tool windows compute from that centre land on the frame's
// lower-left corner (the version-6 ReliefMap call sizes and places its own frame,
// see plotcalls6.cpp). Properties are plain fields; xMapPerPU() (map units per page
// inch along x) follows the frame's width. zMapPerPU (map z units per inch of height
// in a 3-D view) starts so that the z range stands 1.5 inches tall.
//
// A grid that cannot be read throws trelvik::Error naming the file and adds nothing.
// An all-blank grid makes a frame that draws empty.
#include "core/grid.h"

#include <memory>
#include <string>
#include <vector>

namespace surfer {

class Application;

inline constexpr double kNewMapLongSide = 6.0;
inline constexpr double kNewMapCentreX = 10.44;
inline constexpr double kNewMapCentreY = 13.5;

enum class MapKind { Relief = 1, Contour = 2, Image = 3, Surface = 4 };

// Text alignment codes. HAlign: 1 left, 2 centre, 3 right. VAlign: 1 top,
// 2 centre, 3 baseline, 4 bottom (the anchor point lies on that side of the text).
struct PlotFont {
    int HAlign = 1;
    int VAlign = 3;
    double Size = 12.0;  // points
};

struct AxisLineFormat {
    std::string Style = "Solid";  // "Invisible" hides the line
};

// MajorTickType: 1 none, 2 outside (default), 3 inside, 4 crossing.
struct Axis {
    std::string Name;
    bool ShowLabels = true;
    int MajorTickType = 2;
    AxisLineFormat AxisLine;
};

// The map's first layer. Light angles in degrees: HLightAngle counter-clockwise from
// +x (east), VLightAngle above the horizon.
struct MapLayer {
    MapKind kind = MapKind::Relief;
    double HLightAngle = 135;
    double VLightAngle = 45;
    bool ShowColorScale = false;
};

// CycleSpacing and LabelIncrement in map units; drawn under the frame's lower-left.
struct ScaleBar {
    double CycleSpacing = 1;
    double LabelIncrement = 1;
    long NumCycles = 4;
};

class ScaleBarCollection {
public:
    std::shared_ptr<ScaleBar> Add();
    long Count() const { return static_cast<long>(bars_.size()); }
    std::shared_ptr<ScaleBar> Item(long index) const;  // from 1
    const std::vector<std::shared_ptr<ScaleBar>>& all() const { return bars_; }

private:
    friend class MapFrame;
    double defaultSpacing_ = 1;
    std::vector<std::shared_ptr<ScaleBar>> bars_;
};

enum class ShapeKind { Map, Text };

class Shape {
public:
    explicit Shape(ShapeKind k) : kind_(k) {}
    virtual ~Shape() = default;
    ShapeKind kind() const { return kind_; }
    std::string Name;
    // Moves the shape on the page by (dx, dy) inches.
    virtual void translate(double dx, double dy) = 0;

private:
    ShapeKind kind_;
};

class TextShape : public Shape {
public:
    TextShape() : Shape(ShapeKind::Text) {}
    double X = 0, Y = 0;  // anchor, page inches
    std::string Text;
    PlotFont Font;  // the document's DefaultFont when the text was added
    void translate(double dx, double dy) override { X += dx; Y += dy; }
};

class MapFrame : public Shape {
public:
    MapFrame(MapKind kind, std::string gridPath, trelvik::Grid grid);

    double Left = 0, Top = 0;        // upper-left corner, page inches
    double XLength = 0, YLength = 0;  // size, inches

    // 3-D surface view. Angles in degrees; ViewProjection 1 perspective, 2 orthographic.
    double zMapPerPU = 1;
    double LightAzimuth = 135;
    double LightZenith = 45;
    int ViewProjection = 1;
    double ViewRotation = 45;
    double ViewTilt = 30;

    ScaleBarCollection ScaleBars;

    // Map x units per page inch (follows XLength).
    double xMapPerPU() const;
    double yMapPerPU() const;
    // The layers; only layer 1 exists. Other numbers throw trelvik::Error.
    MapLayer& Overlays(long index);
    const MapLayer& Overlays(long index) const;
    // Axes from 1: bottom, left, top, right for flat maps; a 3-D surface has five
    // (x, y, z, back x, back y). Other numbers throw trelvik::Error.
    Axis& Axes(long index);
    const Axis& Axes(long index) const;
    long axisCount() const { return static_cast<long>(axes_.size()); }

    MapKind mapKind() const { return layer_.kind; }
    const std::string& gridPath() const { return gridPath_; }
    const trelvik::Grid& grid() const { return *grid_; }
    std::shared_ptr<const trelvik::Grid> sharedGrid() const { return grid_; }
    // Map extent drawn in the frame (the grid's bounds).
    double mapXMin() const { return grid_->xMin; }
    double mapXMax() const { return grid_->xMax; }
    double mapYMin() const { return grid_->yMin; }
    double mapYMax() const { return grid_->yMax; }

    // For flat maps: page point -> map point and back. contains() is true inside the
    // frame rectangle (edges included).
    bool contains(double pageX, double pageY) const;
    void pageToMap(double pageX, double pageY, double& mapX, double& mapY) const;
    void mapToPage(double mapX, double mapY, double& pageX, double& pageY) const;

    void translate(double dx, double dy) override { Left += dx; Top += dy; }

    // Version-6 contour call's option, kept as given (the drawing is the same).
    long contourOption = 0;

private:
    std::string gridPath_;
    std::shared_ptr<const trelvik::Grid> grid_;
    MapLayer layer_;
    std::vector<Axis> axes_;
};

// `Shapes` of a plot document: the maps and texts in drawing order.
class PlotShapes {
public:
    PlotShapes(Application& app, const PlotFont& defaultFont) : app_(app), font_(defaultFont) {}

    std::shared_ptr<MapFrame> AddReliefMap(const std::string& GridFilename);
    std::shared_ptr<MapFrame> AddContourMap(const std::string& GridFilename);
    std::shared_ptr<MapFrame> AddImageMap(const std::string& GridFilename);
    std::shared_ptr<MapFrame> AddSurface(const std::string& GridFilename);
    std::shared_ptr<TextShape> AddText(double X, double Y, const std::string& Text);

    long Count() const { return static_cast<long>(shapes_.size()); }
    std::shared_ptr<Shape> Item(long index) const;  // from 1
    // nullptr when no shape has this name.
    std::shared_ptr<Shape> find(const std::string& name) const;
    const std::vector<std::shared_ptr<Shape>>& all() const { return shapes_; }
    std::vector<std::shared_ptr<MapFrame>> maps() const;

    // Version-6 selection: Select replaces it, TransformSel moves it, Deselect empties it.
    std::vector<std::shared_ptr<Shape>> selection;

    // Grows with every added shape; the map window redraws when it changes.
    long revision() const { return revision_; }
    void touch() { ++revision_; }

    std::shared_ptr<MapFrame> addMap(MapKind kind, const std::string& path, const std::string& callName);
    // Deletes a shape (the user selecting it and pressing Delete); false when it is
    // not in this plot.
    bool remove(const std::shared_ptr<Shape>& shape);

private:
    std::string uniqueName(const std::string& stem);
    Application& app_;
    const PlotFont& font_;
    std::vector<std::shared_ptr<Shape>> shapes_;
    long revision_ = 0;
    int counter_ = 0;
};

class Document;
class PlotDocument;
// The document as a plot document; throws trelvik::Error when it is a worksheet.
std::shared_ptr<PlotDocument> asPlot(const std::shared_ptr<Document>& doc);

} // namespace surfer
