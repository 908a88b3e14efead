#pragma once
// The window geometry (GeoCols .. GeoZMax) of one list entry of the "Surfer Functions"
// window, as the extraction, resolution and regridding operations need it.
//
// "SurferV6": through the version-6 report sheet: FileNew, GridVolume(grid, , , 0),
//   FileSaveAs(GridDir & "volume.dat") (replacing it), FileClose, FileOpen(path, 1), the
//   cells (4,4) cols, (7,1) x min, (7,3) x max, (5,2) x spacing, (4,7) rows, (8,1) y min,
//   (8,3) y max, (6,2) y spacing and, with withZ, (9,1) z min and (9,3) z max, each read
//   by its leading number (no number gives 0); then FileClose twice. "volume.dat" stays.
// "SurferV8": ReadGridGeometry(GridFullName) and a copy of the run's Grid* values.
// Any other version token throws trelvik::Error: the batch stops rather than run on the
//   previous grid's geometry. Failed calls throw trelvik::Error; ctx.state.Geo is then
//   left as it was.
#include "surferfns/surffnsstate.h"

namespace trelvik::surffns {

// entry counts from 1. Fills ctx.state.Geo (GeoZMin/GeoZMax only with withZ under
// version 6; version 8 always fills them).
void ReadEntryGeometry(SurfFnsContext& ctx, int entry, bool withZ);

} // namespace trelvik::surffns
