#include "toothfeatures/curvslice.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/resultscsv.h"
#include "formats/slicefile.h"
#include "surfer/callargs.h"
#include "surferfns/regridxyz.h"
#include "toothfeatures/nametables.h"

#include <algorithm>
#include <cmath>

namespace trelvik::toothfeatures {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

// More thresholds than this make a table nobody reads; a mistyped step is the cause.
constexpr long kMaxIntervals = 100000;

bool usable(double z, double curv) { return !isBlank(z) && !isBlank(curv); }

// The table's standard deviation needs two values.
constexpr const char* kTooFewValues = "The crest crosses fewer than two curvature values: no standard deviation.";

long curvatureValues(const CurvState& s) {
    long n = 0;
    for (long j = 0; j < s.SliceCount; ++j)
        if (usable(s.SliceZ[j], s.SliceCurv[j])) ++n;
    return n;
}

void slice(CurvContext& ctx, const std::string& grid, const std::string& line, const std::string& out) {
    CallCurv(ctx, "GridSlice", Positional{grid, line, omitted, out},
             Named{{"InGrid", grid}, {"BlankFile", line}, {"OutDataFile", out}});
}

// The slice files (read from topoFile and curvFile, the working names of the two slices
// of the crest digitised in `crest`) read into the window's arrays, and the curvature's
// extremes.
void readSlices(CurvState& s, const std::string& topoFile, const std::string& curvFile, const std::string& crest) {
    const auto topo = formats::readSliceFile(topoFile);
    const auto curv = formats::readSliceFile(curvFile);
    if (topo.empty())
        throw Error("The slice of the crest in " + crest + " holds no points: digitise the crest on the grid.");
    if (curv.size() < topo.size())
        throw Error("The curvature grid " + s.CurvatureGrid + " gives fewer slice points than the topographic grid " +
                    s.TopoGrid + ": the curvature grid does not cover the topographic grid.");
    const std::size_t n = topo.size();
    s.SliceCount = static_cast<long>(n);
    s.SliceX.assign(n, 0);
    s.SliceY.assign(n, 0);
    s.SliceZ.assign(n, 0);
    s.SliceDist.assign(n, 0);
    s.SliceCurv.assign(n, 0);
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        const auto& t = topo[i];
        const auto& k = curv[i];
        // Both grids are cut along one line at the same lattice crossings.
        const double tol = 1e-9 * (1 + std::fabs(t.x) + std::fabs(t.y));
        if (std::fabs(t.x - k.x) > tol || std::fabs(t.y - k.y) > tol)
            throw Error("Point " + std::to_string(i + 1) + " of the curvature grid's slice of the crest in " + crest +
                        " lies elsewhere than in the topographic grid's: the two grids are not on one lattice.");
        s.SliceX[i] = t.x;
        s.SliceY[i] = t.y;
        s.SliceZ[i] = t.blank() ? kBlank : t.z;
        s.SliceDist[i] = t.distance;
        s.SliceCurv[i] = k.blank() ? kBlank : k.z;
        if (!usable(s.SliceZ[i], s.SliceCurv[i])) continue;
        if (!any || s.SliceCurv[i] > s.CurvMax) s.CurvMax = s.SliceCurv[i];
        if (!any || s.SliceCurv[i] < s.CurvMin) s.CurvMin = s.SliceCurv[i];
        any = true;
    }
    if (!any)
        throw Error("The crest in " + crest +
                    " crosses no curvature values (the slice lies on blank nodes or off the grid).");
}

// The thresholds from the start, count and step boxes and the table of the slice in `s`,
// as its lines.
StepOutcome tableOf(CurvContext& ctx, const CurvControls& c, const CurvState& s, std::vector<std::string>& lines) {
    const auto step = BoxNumber(c.Text6);
    const auto count = BoxNumber(c.Text10);
    const auto start = BoxNumber(c.Text8);
    if (!step || !count || !start || *step == 0 || *count == 0) {
        // The first box at fault, in the order the window shows them.
        const std::string fault = !start                    ? text::BoxFault("Range to use", c.Text8, "a number")
                                  : !step || *step == 0     ? text::BoxFault("Interval size", c.Text6, "a number other than 0")
                                                            : text::BoxFault("No. of intervals", c.Text10, "a number other than 0");
        Refuse(ctx, "Values", "Error - Enter all values\n" + fault);
        return StepOutcome::Refused;
    }
    if (*step < 0) {
        Refuse(ctx, "Values", "Interval size must be a number above 0.");
        return StepOutcome::Refused;
    }
    // The count is taken as the nearest whole number (halves to even), as a typed 2.5 or
    // 10.2 is meant.
    const long long intervals = std::fabs(*count) < 1e9 ? text::CInt(*count) : 0;
    if (intervals < 1 || intervals > kMaxIntervals) {
        Refuse(ctx, "Values", "No. of intervals must be from 1 to " + std::to_string(kMaxIntervals) + ".");
        return StepOutcome::Refused;
    }
    if (s.SliceStem.empty() || s.SliceCount == 0) {
        Refuse(ctx, "Values", "Slice a crest first (\"Slice and analyse grids\").");
        return StepOutcome::Refused;
    }
    const long n = curvatureValues(s);
    if (n < 2) {
        Refuse(ctx, "Values", kTooFewValues);
        return StepOutcome::Refused;
    }
    double sum = 0;
    for (long j = 0; j < s.SliceCount; ++j)
        if (usable(s.SliceZ[j], s.SliceCurv[j])) sum += s.SliceCurv[j];
    const double mean = sum / static_cast<double>(n);
    double squares = 0;
    for (long j = 0; j < s.SliceCount; ++j)
        if (usable(s.SliceZ[j], s.SliceCurv[j])) squares += (s.SliceCurv[j] - mean) * (s.SliceCurv[j] - mean);
    const double sd = std::sqrt(squares / static_cast<double>(n - 1));

    lines.clear();
    lines.reserve(static_cast<std::size_t>(intervals) + 4);
    lines.push_back(text::WriteLine()
                        .text("Interval")
                        .text("Curvature")
                        .text("Length of surface with curvature above threshold")
                        .str());
    double length = 0;
    for (long long k = 1; k <= intervals; ++k) {
        const double threshold = *start - static_cast<double>(k) * *step;
        length = CrestLength(s.SliceX, s.SliceY, s.SliceZ, s.SliceCurv, threshold);
        lines.push_back(text::WriteLine().text(std::to_string(k)).num(threshold).num(length).str());
    }
    lines.emplace_back();
    lines.push_back(text::WriteLine()
                        .text("MinCurv")
                        .text("MaxCurv")
                        .text("MeanCurv")
                        .text("SDCurv")
                        .text("3DCrestLength")
                        .text("2DCrestLength")
                        .str());
    lines.push_back(text::WriteLine()
                        .num(s.CurvMin)
                        .num(s.CurvMax)
                        .num(mean)
                        .num(sd)
                        .num(length)
                        .num(s.SliceDist[static_cast<std::size_t>(s.SliceCount - 1)])
                        .str());
    return StepOutcome::Done;
}

std::string tableFile(const CurvState& s) { return s.SliceStem + "_curvslresults.csv"; }

// The table of the last slice.
StepOutcome calculate(CurvContext& ctx, const CurvControls& c) {
    std::vector<std::string> lines;
    const StepOutcome out = tableOf(ctx, c, ctx.state, lines);
    if (out == StepOutcome::Done) formats::writeResultsTable(tableFile(ctx.state), lines);
    return out;
}

StepOutcome sliceOnce(CurvContext& ctx, CurvControls& c) {
    CurvState& s = ctx.state;
    if (c.chkCID) {
        if (auto unchosen = crestNameRefusal(c.Combo1, s.CrestCode)) {
            Refuse(ctx, "Crest name", *unchosen);
            return StepOutcome::Refused;
        }
    }
    if (s.TopoGrid.empty() || s.CurvatureGrid.empty()) {
        Refuse(ctx, "Filename", "Make or input the topographic and curvature grids first.");
        return StepOutcome::Refused;
    }
    const auto step = BoxNumber(c.Text6);
    if (!step || !(*step > 0)) {
        Refuse(ctx, "Values", "Interval size must be a number above 0.");
        return StepOutcome::Refused;
    }
    if (!DigitiseGridsPresent(ctx, c, true, true)) return StepOutcome::Refused;
    AttachedSurfer(ctx);
    const std::string digit = JoinPath(c.Label1, "digit.dat");
    if (!AskDigitise(ctx, "Use 'Digitise' to define slice profile.", digit)) return StepOutcome::Cancelled;

    const std::string stem = s.TopoStem + (c.chkCID ? s.CrestCode : std::string()) + c.txtCrestLength;
    const formats::PointXYList line = formats::readDigitisePoints(digit);
    if (line.size() < 2) {
        Refuse(ctx, "Digitise map", "Digitise at least two points along the crest (" + digit + " holds one).");
        return StepOutcome::Refused;
    }
    // The crest is sliced under working names into a copy of the state: a refused crest
    // leaves the last slice's files and state whole, the table made from them included.
    CurvState next = s;
    next.SliceStem.clear();
    next.SliceCount = 0;
    next.SlicePointsFile = stem + ".dat";
    next.SliceLineFile = stem + ".bln";
    next.TopoSliceFile = stem + "ts.dat";
    next.CurvSliceFile = stem + "cs.dat";
    StagedFiles staged;
    surffns::copyFileReplacing(digit, staged.work(next.SlicePointsFile));
    const std::string& lineFile = staged.work(next.SliceLineFile);
    const std::string& topoSlice = staged.work(next.TopoSliceFile);
    const std::string& curvSlice = staged.work(next.CurvSliceFile);
    formats::writeBlnFile(lineFile, {formats::openLine(line, 0)}, formats::BlnLayout::Zone);
    staged.naming([&] {
        slice(ctx, s.TopoGrid, lineFile, topoSlice);
        slice(ctx, s.CurvatureGrid, lineFile, curvSlice);
    });
    if (!IsV6(ctx) && !IsV8(ctx)) return StepOutcome::Done;  // no slice was made
    readSlices(next, topoSlice, curvSlice, digit);
    next.SliceStem = stem;

    const ThresholdPlan plan = ThresholdRange(next.CurvMin, next.CurvMax, *step);
    if (plan.count > kMaxIntervals) {
        Refuse(ctx, "Values", "Interval size is too small for the curvature range: it would need " +
                                  std::to_string(plan.count) + " intervals.");
        return StepOutcome::Refused;
    }
    // The calculation that follows would refuse such a crest: said before its files
    // replace the last slice's.
    if (c.chkCalcSliceAuto && curvatureValues(next) < 2) {
        Refuse(ctx, "Values", kTooFewValues);
        return StepOutcome::Refused;
    }
    // The calculation that follows takes the boxes as the slice fills them, and its table
    // goes in place with the slice it is made from.
    CurvControls shown = c;
    shown.Text10 = std::to_string(plan.count);
    shown.Text8 = text::CStr(plan.top);
    StepOutcome out = StepOutcome::Done;
    if (c.chkCalcSliceAuto) {
        std::vector<std::string> lines;
        out = tableOf(ctx, shown, next, lines);
        if (out == StepOutcome::Done) formats::writeResultsTable(staged.work(tableFile(next)), lines);
    }
    staged.commit();
    s = std::move(next);
    c.Label6 = text::CStr(s.CurvMin);
    c.Label8 = text::CStr(s.CurvMax);
    s.IntervalCount = plan.count;
    c.Text10 = shown.Text10;
    c.Text8 = shown.Text8;
    c.Label9 = text::CStr(plan.lowest);
    return out;
}

} // namespace

ThresholdPlan ThresholdRange(double curvMin, double curvMax, double step) {
    if (!(step > 0)) throw Error("The threshold step must be above 0");
    ThresholdPlan p;
    p.bottom = text::Int(curvMin * 1000) / 1000;
    p.top = (text::Int(curvMax * 1000) + 1) / 1000;
    // The count is raised until the lowest threshold reaches the least value. That count
    // comes in closed form: added one step at a time it runs for ages when the values are
    // so large that a step no longer changes them.
    const double estimate = 1 + (p.top - p.bottom) / step;
    const double needed = 1 + std::ceil((p.top - curvMin) / step);
    if (!(estimate < 1e15) || !(needed < 1e15))
        throw Error("The threshold step is too small for the curvature range");
    auto above = [&](long count) { return p.top - static_cast<double>(count - 1) * step > curvMin; };
    const long first = estimate >= 1 ? static_cast<long>(text::CInt(estimate)) : 1;
    p.count = std::max(first, static_cast<long>(std::max(needed, 1.0)));
    // Rounding may leave the closed form a count off the stepwise one; a few passes settle it.
    for (int pass = 0; pass < 3 && p.count > first && !above(p.count - 1); ++pass) --p.count;
    for (int pass = 0; pass < 3 && above(p.count); ++pass) ++p.count;
    p.lowest = p.top - static_cast<double>(p.count - 1) * step;
    return p;
}

double CrestLength(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                   const std::vector<double>& curv, double threshold) {
    auto reaches = [&](std::size_t j) { return usable(z[j], curv[j]) && curv[j] >= threshold; };
    double length = 0;
    for (std::size_t j = 0; j + 1 < x.size(); ++j) {
        if (!reaches(j) || !reaches(j + 1)) continue;
        const double dx = x[j + 1] - x[j], dy = y[j + 1] - y[j], dz = z[j + 1] - z[j];
        length += std::sqrt(dz * dz + dx * dx + dy * dy);
    }
    return length;
}

StepOutcome Slice_Grids(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] {
        for (int run = 1;; ++run) {
            const StepOutcome out = sliceOnce(ctx, c);
            if (out != StepOutcome::Done || !c.chkAltValuesS) return out;
            if (c.txtCrestLength == c.txtAltS1) c.txtCrestLength = c.txtAltS2;
            else if (c.txtCrestLength == c.txtAltS2) c.txtCrestLength = c.txtAltS1;
            // The second value is sliced at once, under its own name; equal values would
            // only repeat the same slice.
            if (run > 1 || c.txtCrestLength != c.txtAltS2 || c.txtAltS1 == c.txtAltS2) return out;
        }
    });
}

StepOutcome Calculate(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] { return calculate(ctx, c); });
}

void Next_Crest(CurvContext& ctx, CurvControls& c) {
    c.Label6.clear();
    c.Label8.clear();
    c.Label9.clear();
    c.Text8.clear();
    c.Label14.clear();
    ctx.state.CrestCode.clear();
}

void ShowLowestThreshold(CurvControls& c) {
    const auto start = BoxNumber(c.Text8);
    const auto count = BoxNumber(c.Text10);
    const auto step = BoxNumber(c.Text6);
    if (!start || !count || !step || *step == 0) return;
    c.Label9 = text::CStr(*start - (*count - 1) * *step);
}

} // namespace trelvik::toothfeatures
