#include "csvview/vrmlview.h"

#include <algorithm>

#include "formats/vrml.h"

namespace trelvik::csvview {

VrmlScene loadVrmlScene(const std::string& path) {
    VrmlScene s;
    s.grid = formats::vrmlSurfaceGrid(formats::readVrmlSurface(path));
    return s;
}

surfer::SurfaceView fittedView() {
    surfer::SurfaceView v;
    v.rotation = 45;
    v.tilt = 30;
    // Orthographic keeps the whole surface framed however it is turned.
    v.projection = surfer::Projection::Orthographic;
    v.xyUnitsPerInch = 1;
    v.zUnitsPerInch = 1;
    return v;
}

surfer::SurfaceView dragView(const surfer::SurfaceView& from, int dx, int dy) {
    surfer::SurfaceView v = from;
    v.rotation += 0.5 * dx;
    while (v.rotation >= 360) v.rotation -= 360;
    while (v.rotation < 0) v.rotation += 360;
    v.tilt = std::clamp(v.tilt + 0.5 * dy, 0.0, 90.0);
    return v;
}

surfer::RgbImage drawVrmlScene(const VrmlScene& scene, int width, int height, const surfer::SurfaceView& view) {
    if (scene.empty() || width <= 0 || height <= 0) return {};
    return surfer::renderSurface(scene.grid, width, height, view);
}

} // namespace trelvik::csvview
