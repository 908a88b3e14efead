#pragma once
// Surface area, planar area, relief index and volume of a lattice grid.
//
// Input: cells (z = 9999 empty), lattice steps dx, dy, base height zmin.
// Squares of four neighbouring nodes:
//   no empty corner: planar area dx*dy; surface = mean of the two triangulations'
//     areas (each right triangle 1/2 |leg_x x leg_y|);
//   one empty corner: planar area dx*dy/2, no surface;
//   two or more: nothing.
// Volume above zmin: per row, the trapezoid rule over the non-empty cells taken as
// one run (empty cells skipped); a single cell adds h/2. Volume = dx*dy*sum.
// Relief index = SA / PA; SA/Vol ratio = SA / Volume; each has no value when its
// divisor is 0.
// Units: those of the lattice (area in x-y units squared, volume in cubed units).
#include "core/prompt.h"
#include "csvview/latticegrid.h"
#include "csvview/resultsfolder.h"

#include <string>

namespace trelvik::csvview {

struct SurfaceMeasures {
    double surfaceArea = 0;
    double planarArea = 0;
    double volume = 0;
    bool hasReliefIndex = false;
    double reliefIndex = 0;
    bool hasSaVolRatio = false;
    double saVolRatio = 0;
};

SurfaceMeasures measureSurface(const LatticeGrid& working, double dx, double dy, double zmin);

// Label texts: SA, PA, Volume to 3 decimals, RI to 3, SA/Vol to 5, shortest form;
// "-" for a measure without value.
struct SurfaceTexts {
    std::string sa, pa, ri, vol, saVolRatio;
};
SurfaceTexts surfaceTexts(const SurfaceMeasures& m);

// "Curr. file" of the "Statistics" frame: measures and, with saveStats, writes
// savol/<base>savolstats.csv and, during a batch, its row in savol/00savolstats.csv,
// the two put in place together.
// File errors throw trelvik::Error naming the file.
SurfaceMeasures CalcSAVolStats(const LatticeGrid& working, double dx, double dy, double zmin, bool saveStats,
                               const RunContext& ctx);
// The files of CalcSAVolStats for measures already taken.
void writeSAVolStats(const SurfaceMeasures& m, const RunContext& ctx);

} // namespace trelvik::csvview
