#pragma once
// Map drawing computations, free of any window system: each map type of a grid turned
// into an RGB image buffer or into line segments, at the pixel size it is shown at (so
// a 2000 x 2000 grid costs what its screen rectangle costs, not what the grid does).
//
// Common conventions
//   - Images are width x height pixels, row 0 at the top (the grid's greatest y), one
//     0xAARRGGBB word per pixel. Alpha 0 marks "nothing drawn": blank nodes, the space
//     around a 3-D surface. Drawn pixels are opaque.
//   - Flat maps (relief, image) fill the image with the grid's x, y bounds; pixel
//     (i, j) samples the map at its centre, x = xMin + (i + 0.5) * (xMax - xMin) / width.
//     A cell with a blank corner is not drawn.
//   - Angles are degrees. A light's horizontal angle counts counter-clockwise from +x
//     (east), so 135 lights from the north-west; its vertical angle is the elevation
//     above the horizon (90 = straight down from above).
//   - Heights and x, y are in map units; the relief shading takes them as they come
//     (equal units along x, y and z).
#include "core/grid.h"

#include <cstdint>
#include <vector>

namespace surfer {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, row-major from the top

    RgbImage() = default;
    RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0u) {}
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool drawn(int x, int y) const { return (at(x, y) >> 24) != 0; }
};

inline std::uint32_t opaque(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

// The smallest number 1, 2 or 5 times a power of ten that is at least rough (> 0).
double niceStep(double rough);

// Contour levels at round numbers: the multiples of niceStep((zMax - zMin) / about)
// that lie within [zMin, zMax]. Empty when zMax <= zMin or either is not finite.
std::vector<double> contourLevels(double zMin, double zMax, int about = 10);

// The colour ramp of image and contour maps, t from 0 (low: deep blue) through cyan,
// green and yellow to 1 (high: red). t outside [0, 1] is clamped.
std::uint32_t rampColour(double t);

// Relief map: grey Lambert shading of the surface normal against a light from
// (hAngle, vAngle); 255 is a surface facing the light, 0 one turned away from it.
// Uniform on a plane.
RgbImage renderRelief(const trelvik::Grid& grid, int width, int height, double hAngle, double vAngle);

// Image map: each pixel the ramp colour of the bilinearly interpolated height, t
// running from the grid's least to its greatest height.
RgbImage renderColourImage(const trelvik::Grid& grid, int width, int height);

// Contour lines by marching squares: for each level, the segments where the bilinear
// surface of each cell crosses it, in map coordinates. A node exactly at a level
// counts as above it. Saddle cells are split by their centre value. Cells with a
// blank corner give nothing.
struct ContourSegment {
    double x0, y0, x1, y1;
};
struct ContourLevel {
    double level;
    std::vector<ContourSegment> segments;
};
std::vector<ContourLevel> traceContours(const trelvik::Grid& grid, const std::vector<double>& levels);

// 3-D surface view of a heights lattice.
enum class Projection { Perspective = 1, Orthographic = 2 };
struct SurfaceView {
    double rotation = 45;  // turns the surface counter-clockwise about the vertical
    double tilt = 30;      // viewer's elevation: 90 looks straight down, 0 from the side
    Projection projection = Projection::Perspective;
    double xyUnitsPerInch = 1;  // map x, y units per page inch (equal along x and y)
    double zUnitsPerInch = 1;   // heights per page inch: the vertical scale
    double lightAzimuth = 135;
    double lightZenith = 45;
};
// The surface's triangles (two per lattice cell, nodes thinned to about the image's
// resolution) projected, z-buffered and filled with the ramp colour of the height
// times their Lambert shade (a quarter of it ambient). The projected outline is
// scaled uniformly to fit the image and centred, so a plane seen straight from above
// orthographically fills it exactly. Blank nodes leave holes.
RgbImage renderSurface(const trelvik::Grid& grid, int width, int height, const SurfaceView& view);

// Where a 3-D view puts a map point, in the same pixel space as renderSurface with the
// same arguments (for axes and labels). Returns false when the view is degenerate.
struct SurfaceProjector {
    SurfaceProjector(const trelvik::Grid& grid, int width, int height, const SurfaceView& view);
    bool valid = false;
    // Pixel position (x right, y down) of map point (x, y, z).
    void project(double x, double y, double z, double& px, double& py) const;
    // Internal: view parameters.
    double cx = 0, cy = 0, cz = 0, sxy = 1, sz = 1, cr = 1, sr = 0, ct = 0, st = 1, dist = 0;
    double scale = 1, offX = 0, offY = 0;
    bool perspective = true;
    void viewCoords(double x, double y, double z, double& X, double& Y, double& depth) const;
};

} // namespace surfer
