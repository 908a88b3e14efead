#include "csvview/slopestats.h"

#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "csvview/statsrow.h"
#include "formats/resultscsv.h"

#include <cmath>

namespace trelvik::csvview {

namespace {

constexpr double kPi = 3.14159265358979;
// Far beyond any class table a study reports (a tenth of a degree of orientation).
constexpr long kMaxClasses = 3600;

using text::WriteLine;

// The grid whose non-empty cells give the values of an option, and how a cell's z
// becomes its value.
const LatticeGrid* sourceGrid(const SlopeGrids& g, SlopeChoice choice) {
    switch (choice) {
    case SlopeChoice::Slope: return &g.slope;
    case SlopeChoice::Aspect: return &g.orient;
    case SlopeChoice::Angular: return &g.angularity;
    case SlopeChoice::ShadedRelief: return nullptr;
    }
    return nullptr;
}

double cellValue(double z, SlopeChoice choice) {
    return choice == SlopeChoice::Slope ? std::atan(z) * 180.0 / kPi : z;
}

std::vector<std::string> dataLines(const LatticeGrid& src, SlopeChoice choice) {
    std::vector<std::string> lines;
    for (const GridCell& c : src.cells)  // rows outer, columns inner
        if (!isVoid(c.z)) lines.push_back(WriteLine().num(c.x).num(c.y).num(cellValue(c.z, choice)).str());
    return lines;
}

std::string summaryLine(const char* info, double count, const SummaryStats& s) {
    return statsRow(info, count, s).str();
}

std::string statsHeader(const std::string& what, bool withFile) {
    WriteLine h;
    if (withFile) h.text("File");
    h.text("Info").text("NoPts");
    for (const char* s : {"Mean", "SD", "Min", "Max", "Med", "1Q", "3Q"}) h.text(what + s);
    return h.str();
}

} // namespace

std::vector<double> collectSlopeValues(const SlopeGrids& grids, SlopeChoice choice) {
    std::vector<double> v;
    const LatticeGrid* src = sourceGrid(grids, choice);
    if (!src) return v;
    v.reserve(src->cells.size());
    for (const GridCell& c : src->cells)
        if (!isVoid(c.z)) v.push_back(cellValue(c.z, choice));
    return v;
}

namespace {

void stageTable(StagedFiles& files, const std::string& path, const std::vector<std::string>& lines) {
    files.naming([&] { formats::writeResultsTable(files.work(path), lines); });
}

SlopeStatsResult stageSlopeOutputs(const SlopeGrids& grids, const SlopeOptions& opts, const RunContext& ctx,
                                   AppState& app, Prompt& prompt, StagedFiles& files) {
    SlopeStatsResult res;
    if (!opts.saveStats && !opts.saveData) return res;
    const SlopeChoice choice = opts.choice;
    const LatticeGrid* src = sourceGrid(grids, choice);
    if (!src) return res;  // shaded relief writes no statistics and no data
    res.values = collectSlopeValues(grids, choice);
    const long count = static_cast<long>(res.values.size());
    const char* folderName = choice == SlopeChoice::Slope ? "slope" : choice == SlopeChoice::Aspect ? "orient" : "angularity";

    if (opts.saveStats) {
        const std::string dir = ensureResultsFolder(ctx.folder, folderName);
        const double nCat = choice == SlopeChoice::Slope ? opts.slopeNoCat : opts.aspectNoCat;
        const long n = text::CInt(nCat);
        const bool needsClasses = choice != SlopeChoice::Angular;
        const bool needsSummary = choice != SlopeChoice::Aspect;
        if (needsClasses && n < 1) {
            prompt.message("Values", "The number of classes must be 1 or more");
        } else if (needsClasses && n > kMaxClasses) {
            // A mistyped count would otherwise build a table too large to hold.
            prompt.message("Values", "The number of classes must be " + text::CStr(kMaxClasses) + " or fewer");
        } else if (needsSummary && count == 0) {
            prompt.message("Values", "No cell of this grid has a value to summarise");
        } else {
            std::vector<std::string> lines;
            if (needsSummary) {
                CalcSummaryStats(app, res.values, 0, count - 1);
                res.summary = SummaryStats{app.StatMean, app.StatSD,     app.StatMin, app.StatMax,
                                           app.StatMedian, app.StatQ1, app.StatQ3};
                res.hasSummary = true;
            }
            if (choice == SlopeChoice::Slope) {
                const double width = 90.0 / static_cast<double>(n);
                const HistTable h = histogram(res.values, 0, count - 1, width, 0, 90);
                app.Hist = h;
                for (long k = 1; k <= n; ++k) res.classes.push_back(ClassRow{h[k][1], h[k][2]});
                lines.push_back(statsHeader("Slope", false));
                lines.push_back(summaryLine("Slope", static_cast<double>(count), res.summary));
                lines.emplace_back();
                lines.push_back(WriteLine().text("IntStart").text("NoPts").str());
                for (const ClassRow& c : res.classes) lines.push_back(WriteLine().num(c.edge).num(c.count).str());
                stageTable(files, dir + ctx.baseName + "slopestats.csv", lines);
                res.filesWritten.push_back(dir + ctx.baseName + "slopestats.csv");
            } else if (choice == SlopeChoice::Aspect) {
                const double half = (360.0 / static_cast<double>(n)) / 2;
                const HistTable h = count > 0 ? histogram(res.values, 0, count - 1, half, 0, 360)
                                              : HistTable(static_cast<std::size_t>(2 * n + 1), std::vector<double>(3, 0.0));
                app.Hist = h;
                auto hc = [&](long row) { return row < static_cast<long>(h.size()) ? h[row][2] : 0.0; };
                // Class 1 is centred on 0 and so gathers the first and the last half class.
                res.classes.push_back(ClassRow{0, hc(1) + hc(2 * n)});
                for (long k = 2; k <= n; ++k)
                    res.classes.push_back(ClassRow{(k - 1) * 360.0 / static_cast<double>(n), hc(2 * k - 2) + hc(2 * k - 1)});
                lines.push_back(WriteLine().text("Info").str());
                lines.push_back(WriteLine().text("Orient").str());
                lines.emplace_back();
                lines.push_back(WriteLine().text("IntCentre").text("NoPts").str());
                for (const ClassRow& c : res.classes) lines.push_back(WriteLine().num(c.edge).num(c.count).str());
                stageTable(files, dir + ctx.baseName + "orientstats.csv", lines);
                res.filesWritten.push_back(dir + ctx.baseName + "orientstats.csv");
            } else {
                lines.push_back(statsHeader("Angularity", false));
                lines.push_back(summaryLine("Angularity", static_cast<double>(count), res.summary));
                stageTable(files, dir + ctx.baseName + "angularitystats.csv", lines);
                res.filesWritten.push_back(dir + ctx.baseName + "angularitystats.csv");
            }
            if (ctx.allFilesRunning && needsSummary) {
                const bool slope = choice == SlopeChoice::Slope;
                const std::string path = dir + (slope ? "00slopestats.csv" : "00angularstats.csv");
                const std::string row = WriteLine().text(ctx.baseName).str() + "," +
                                        summaryLine(slope ? "Slope" : "Angularity", static_cast<double>(count), res.summary);
                stageSummaryRow(files, path, statsHeader(slope ? "Slope" : "Angularity", true), row,
                                !ctx.allFilesStarted);
                res.filesWritten.push_back(path);
            }
        }
    }
    if (opts.saveData) {
        const std::string dir = ensureResultsFolder(ctx.folder, folderName);
        const std::string path = dir + ctx.baseName +
                                 (choice == SlopeChoice::Slope    ? "slopedata.csv"
                                  : choice == SlopeChoice::Aspect ? "orientdata.csv"
                                                                  : "angularitydata.csv");
        stageTable(files, path, dataLines(*src, choice));
        res.filesWritten.push_back(path);
    }
    return res;
}

} // namespace

SlopeStatsResult writeSlopeOutputs(const SlopeGrids& grids, const SlopeOptions& opts, const RunContext& ctx,
                                   AppState& app, Prompt& prompt, StagedFiles* into) {
    if (into) return stageSlopeOutputs(grids, opts, ctx, app, prompt, *into);
    StagedFiles files;
    SlopeStatsResult res = stageSlopeOutputs(grids, opts, ctx, app, prompt, files);
    files.commit();
    return res;
}

SlopeRun AspectSlopeCalc(const LatticeGrid& working, double xstep, double ystep, const SlopeOptions& opts, const RunContext& ctx,
                         AppState& app, Prompt& prompt, StagedFiles* into) {
    BusyScope busy(prompt);
    SlopeRun run;
    run.grids = computeSlopeGrids(working, xstep, ystep, opts);
    run.stats = writeSlopeOutputs(run.grids, opts, ctx, app, prompt, into);
    return run;
}

} // namespace trelvik::csvview
