#pragma once
// The 3-D view of the CSV viewer: a VRML elevation-grid file loaded as a surface and
// drawn shaded by the 3-D surface renderer of the map windows.
//
//  loadVrmlScene  reads the file (formats/vrml.h) and turns it into a map grid placed
//                 as the VRML scene places it (scale applied to x, y and heights).
//  drawVrmlScene  the surface seen from `view` on a width x height picture; the
//                 surface is fitted to the picture (the renderer frames the whole
//                 outline), pixels off the surface are transparent. An empty scene
//                 or a picture of no pixels gives an empty image.
//  fittedView     the view "Fit" returns to: turned 45 degrees, seen 30 degrees from
//                 above, orthographic, equal units along x, y and z.
//  dragView       the view after a pointer drag of (dx, dy) pixels: right turns the
//                 surface, down raises the eye; the eye stays between 0 and 90.
// Heights are drawn as written: the viewer's temp.wrl holds no void marker (empty
// cells are written as the lowest height).
#include "core/grid.h"
#include "surfer/maprender.h"

#include <string>

namespace trelvik::csvview {

struct VrmlScene {
    trelvik::Grid grid;
    bool empty() const { return grid.cols <= 0 || grid.rows <= 0; }
};

VrmlScene loadVrmlScene(const std::string& path);
surfer::SurfaceView fittedView();
surfer::SurfaceView dragView(const surfer::SurfaceView& from, int dx, int dy);
surfer::RgbImage drawVrmlScene(const VrmlScene& scene, int width, int height, const surfer::SurfaceView& view);

} // namespace trelvik::csvview
