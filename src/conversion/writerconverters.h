#pragma once
// The conversion window's writers as the window runs them, each reading the batch list
// or the chosen file and the option controls from a ConvContext (convstate.h):
//
//  list converters (every entry of the batch list; the chosen file alone when the list
//  is empty; one entry's failure is reported and the next goes on):
//   ConvertPIX_GRD   Picza scans to grids: stem + ".csv" points, stem + OutNameTag +
//                    ".grd" (piczaconvert.h); the grids plotted when "Plot in Surfer".
//   ConvertGRD_WRL   grids to VRML, geometry by the To text (gridtovrml.h); WrlScale kept.
//   ConvertGRD_DAT   grids to DAT text (gridtodat.h).
//   ConvertGRD_XYZ   grids to shifted, tab-separated XYZ text (gridtodat.h).
//   ConvertGRD_DXF   grids to DXF face meshes (gridtodxf.h).
//  single-file converters (the file named in Text1 in File1's folder; an empty box or
//  one still holding its mask is refused with a "Filename" message):
//   ConvertPIX_CSV   "Choose Picza filename"; Picza to stem + ".csv" (full or part).
//   ConvertGRD_PIX   "Choose grid filename"; grid to stem + ".pix".
//   ConvertTIFF_GRD  "Choose text filename"; grey matrix to stem + ".csv" and ".grd"
//                    (tifftextconvert.h); voxel mode writes the fields of view back.
//   ConvertTIFF_WRL  "Choose text filename"; lattice to stem + ".wrl".
//   ConvertCSV_WRL   "Choose text filename"; CSV lattice to stem + ".wrl" (csvlattice.h).
//   ConvertCSV_TIF   "Choose text filename"; CSV lattice to stem + ".tif".
// Before anything is written, the outputs that already exist are asked about once for
// the run (AskReplace, convstate.h); Cancel writes nothing and keeps the batch list.
// The stem of a single file is File1's folder and Text1 up to its last ".". Failures are
// shown as messages (the file and line where there is one) and leave existing outputs
// as they were; the pointer is normal again afterwards.
#include "conversion/convstate.h"

namespace trelvik::conversion {

void ConvertPIX_GRD(ConvContext& ctx);
void ConvertPIX_CSV(ConvContext& ctx);
void ConvertGRD_PIX(ConvContext& ctx);
void ConvertGRD_WRL(ConvContext& ctx);
void ConvertTIFF_GRD(ConvContext& ctx);
void ConvertTIFF_WRL(ConvContext& ctx);
void ConvertCSV_WRL(ConvContext& ctx);
void ConvertCSV_TIF(ConvContext& ctx);
void ConvertGRD_DAT(ConvContext& ctx);
void ConvertGRD_XYZ(ConvContext& ctx);
void ConvertGRD_DXF(ConvContext& ctx);

} // namespace trelvik::conversion
