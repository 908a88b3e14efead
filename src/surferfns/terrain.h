#pragma once
// The "Process" button of the "Process grid" frame, and its terrain operation: the
// terrain slope or aspect grid of every listed grid with its histogram table.
//
// Inputs: the window's list (SurfFnsContext) and the frame's controls (ProcessOptions).
// The operation is the first selected of Mirror, Rotate CW, Terrain, Inverse, Mould
//   rotation; the mirror axis and the rotation angle are read only for their operation.
//   Mirror, rotate, inverse and mould rotation: mirrorrotate.h (version 8 only).
// Terrain, entry i, by the text of cmbProcess:
//   "Terrain slope"  GridCalculus slope (v6: 1, class 1, kind 0 in position 5; v8:
//                    Operation 4) into GridPathNoExt(i) & "ts.grd"; degrees 0 to 90.
//   "Terrain aspect" GridCalculus aspect (v6: kind 1; v8: Operation 5, Param1 the
//                    minimum slope txtTAMinSlope in radians (its leading number, 0 if
//                    none), OutFmt 3) into GridPathNoExt(i) & "ta" & txtTAMinSlope as
//                    typed & ".grd" (v6: "ta" alone); degrees clockwise from north.
//   The grid is written as XYZ text to a private temporary file (core/tempfiles.h),
//   its non-blank values counted (terrainhistogram.h) into GridPathNoExt(i) & suffix &
//   "results.csv"; the grid and the table are put in place together, so a failure of
//   either leaves both earlier files.
// Plotting ("Plot in Surfer"): terrain and inverse results as image maps (type 3), the
//   others with the frame's map type. The list is cleared after a completed run.
// Refusals (message, run ends before the map window opens, nothing written, list kept):
//   a cmbProcess text other than its two items with Terrain ("Choose processing
//   procedure.", title "Process"); version 6 with any operation but Terrain ("This
//   function is not available in Surfer v6."). A slope grid with fewer than two values
//   gets a message and a table without mean and deviation; the run goes on.
// Failures (mapping-program call, unreadable XYZ text, results file not written) end
//   the run with a message; earlier entries keep their outputs.
#include "surferfns/mirrorrotate.h"
#include "surferfns/surffnsstate.h"

#include <optional>
#include <string>

namespace trelvik::surffns {

// Controls of the "Process grid" frame, with the values of a freshly loaded window.
struct ProcessOptions {
    bool optMirror = true, optRotate = false, optTerrain = false, optInverse = false, optMouldRotate = false;
    bool optMirrorX = true, optMirrorY = false, optMirrorZ = false;
    bool optRotate90 = true, optRotate180 = false, optRotate270 = false;
    std::string cmbProcess = "Terrain slope";
    std::string txtTAMinSlope = "10";
};

inline constexpr const char* kTerrainSlopeItem = "Terrain slope";
inline constexpr const char* kTerrainAspectItem = "Terrain aspect";

// The geometric operation the options choose, or none (Terrain chosen, or nothing).
std::optional<GeometricOp> ChosenGeometricOp(const ProcessOptions& o);

// The terrain step of entry i: grid, XYZ text and results file. Returns false (after
// the message) when cmbProcess holds neither item.
bool RunTerrain(SurfFnsContext& ctx, int entry, const ProcessOptions& o);

// The "Process" button.
BatchOutcome ProcessGrids(SurfFnsContext& ctx, const ProcessOptions& o);

} // namespace trelvik::surffns
