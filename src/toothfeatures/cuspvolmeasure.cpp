// The measuring steps of the cusp volume window: blanking, tip height and volume levels.
#include "toothfeatures/cuspvol.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/resultscsv.h"
#include "core/digitiseinputs.h"
#include "shell/gridgeometry.h"
#include "surfer/application.h"
#include "surferfns/surffnsstate.h"
#include "toothfeatures/cuspvollevels.h"
#include "toothfeatures/nametables.h"
#include "toothfeatures/stepservices.h"

#include <cmath>
#include <filesystem>
#include <optional>

namespace trelvik::toothfeatures {

namespace {

using surfer::Named;
using surfer::Positional;
using surfer::omitted;

bool isV6(const CuspVolState& s) { return s.m_Surfer->version() == 6; }

// A message that ends the step; the pointer is normal while it shows and after.
bool refuse(CuspVolRun& run, const std::string& title, const std::string& text)
{
    return trelvik::refuse(run.prompt, title, text);
}

// What both measuring steps need before they may call the mapping program.
std::optional<std::string> missingInput(const CuspVolState& s)
{
    if (s.TopoGrid.empty())
        return "Choose the topographic grid and press \"Input topo grid\" first.";
    if (s.PlaneGrid.empty())
        return "No plane grid is read for " + s.TopoGrid +
               ": tick \"Read plane file automat.\" and press \"Input topo grid\", or choose the plane grid "
               "and press \"Input plane grid\".";
    if (!s.m_Surfer)
        return "There is no connection to Surfer: read the plane grid first.";
    return std::nullopt;
}

double typedBox(const std::string& typed, const std::string& caption)
{
    const auto v = numberIn(typed);
    if (!v)
        throw Error("\"" + caption + "\" must be a number, not \"" + typed + "\".");
    return *v;
}

// Least and greatest height of the grid, from the version-6 report sheet or the
// geometry scan; the sheet names the staged grid by the name it stands for.
std::pair<double, double> heightRange(CuspVolRun& run, const std::string& grid, const StagedFiles& staged)
{
    surfer::Application& app = *run.s.m_Surfer;
    if (isV6(run.s)) {
        const std::string sheetPath = surffns::JoinFolder(run.c.Label1, "volume.dat");
        app.FileNew();
        staged.naming([&] { app.call("GridVolume", Positional{grid, omitted, omitted, 0}); });
        const std::vector<double> z = readReportSheet(app, sheetPath, {{9, 1}, {9, 3}}, &staged);
        app.FileClose();  // the document FileNew opened
        return {z[0], z[1]};
    }
    staged.naming([&] { ReadGridGeometry(run.app, grid); });
    return {run.app.GridZMin, run.app.GridZMax};
}

bool blankGrid(CuspVolRun& run)
{
    CuspVolControls& c = run.c;
    CuspVolState& s = run.s;
    if (auto unchosen = cuspNameRefusal(c.Combo1, s.CuspCode))
        return refuse(run, "Cusp name", *unchosen);
    if (auto missing = missingInput(s))
        return refuse(run, "", *missing);
    const DigitiseInput topo{s.TopoGrid, "topographic grid",
                             "choose it in the file list and press \"Input topo grid\"."};
    const DigitiseInput plane{s.PlaneGrid, "plane grid",
                              "make it with \"Digitise points for plane\" in the Fit plane window, or choose "
                              "a plane grid and press \"Input plane grid\"."};
    if (!inputsPresent(run.prompt, {topo, plane})) return false;

    const std::string digit = surffns::JoinFolder(c.Label1, "digit.dat");
    if (!askDigitise(run.prompt, "Use 'Digitise' to outline cusp.", digit,
                     std::filesystem::path(s.TopoGrid).parent_path().string()))
        return false;

    if (!FileExists(digit))
        throw Error("The digitise file " + digit + " does not exist: save the cusp outline there first.");
    const std::string pointsDat = s.TopoStem + s.CuspCode + "points.dat";
    const std::string pointsBln = s.TopoStem + s.CuspCode + "points.bln";
    const std::string bytes = readWholeFile(digit);
    const formats::PointXYList outline = formats::readDigitisePoints(digit);
    if (outline.size() < 3)
        throw Error("The cusp outline in " + digit + " has " + std::to_string(outline.size()) +
                    " point(s); an outline needs at least 3.");
    // The outline's files and the two grids are made under working names and put in place
    // only once the outline holds nodes: a refused outline leaves the cusp blanked before.
    StagedFiles staged;
    writeFileAtomic(staged.work(pointsDat), bytes);
    const std::string& bln = staged.work(pointsBln);
    formats::writeBlnFile(bln, {formats::closedOutline(outline, 0)}, formats::BlnLayout::Zone);

    const std::string blanked = s.TopoStem + s.CuspCode + "b.grd";
    const std::string height = s.TopoStem + s.CuspCode + "btmp.grd";
    const std::string& blankedWork = staged.work(blanked);
    const std::string& heightWork = staged.work(height);
    surfer::Application& app = *s.m_Surfer;
    staged.naming([&] {
        if (isV6(s)) {
            app.call("GridBlank", Positional{s.TopoGrid, bln, blankedWork, 1});
            app.call("GridMath", Positional{blankedWork, s.PlaneGrid, heightWork, 1, "C=A-B"});
        } else {
            app.call("GridBlank", Named{{"InGrid", s.TopoGrid}, {"BlankFile", bln}, {"OutGrid", blankedWork}});
            app.call("GridMath", Named{{"Function", "C=A-B"}, {"InGridA", blankedWork}, {"InGridB", s.PlaneGrid},
                                       {"OutGridC", heightWork}});
        }
    });
    const auto [least, greatest] = heightRange(run, heightWork, staged);
    if (!(least <= greatest) || isBlank(greatest))
        throw Error("No node of " + s.TopoGrid + " lies inside the cusp outline: digitise the outline over the cusp.");
    staged.commit();
    s.BlankedGrid = blanked;
    s.BlankedCusp = s.CuspCode;
    s.HeightGrid = height;
    c.Label6 = text::CStr(least);
    c.Label8 = text::CStr(greatest);
    c.Text8 = c.Label8;
    run.prompt.busy(false);
    c.Label12 = "Done";
    return true;
}

bool calculate(CuspVolRun& run)
{
    CuspVolControls& c = run.c;
    CuspVolState& s = run.s;
    if (auto missing = missingInput(s))
        return refuse(run, "", *missing);
    if (s.BlankedGrid.empty() || s.BlankedCusp != s.CuspCode)
        return refuse(run, "", "Blank and analyse the cusp first: \"Calculate\" measures the cusp of the last "
                               "\"Blank and analyse grids\".");
    // The results table is named by the code: a name typed over the list since would
    // have the table read as that cusp's.
    if (auto unchosen = cuspNameRefusal(c.Combo1, s.CuspCode))
        return refuse(run, "Cusp name", *unchosen);

    const double tip = typedBox(c.Text8, "Max to use");
    const double intervals = typedBox(c.Text10, "No. of intervals");
    const double interval = typedBox(c.Text5, "Interval size");
    if (intervals < 0 || intervals > 100000)
        throw Error("\"No. of intervals\" must be from 0 to 100000, not \"" + c.Text10 + "\".");
    if (!(interval > 0))
        throw Error("\"Interval size\" must be above 0, not \"" + c.Text5 + "\".");
    // The levels run k = 1 to N + 1 with N as typed: a fractional N ends at its whole part.
    const int n = static_cast<int>(std::floor(intervals));

    s.VertStep = verticalStep(interval, basalTilt(text::Val(s.PlaneX), text::Val(s.PlaneY)));
    c.Label7 = text::CStr(s.VertStep);

    // Level grids that are erased afterwards are made where nothing of the user's can be
    // replaced; kept ones are named after the grid and cusp like every other output, made
    // under working names and put in place with the table measured over them. Esc keeps
    // the finished ones, put in place together.
    std::optional<PrivateFolder> scratch;
    if (c.Check1)
        scratch.emplace("cuspvol");
    StagedFiles staged;
    surfer::Application& app = *s.m_Surfer;
    s.LevelGrids.assign(static_cast<std::size_t>(n) + 1, std::string());
    std::vector<std::string> made(s.LevelGrids.size());
    std::vector<double> levels(s.LevelGrids.size());
    // Two units per level: its grid, then its volume.
    const long long units = 2LL * (n + 1);
    long long done = 0;
    auto unit = [&](bool volume, int k) {
        const std::string of = " of level " + std::to_string(k) + " of " + std::to_string(n + 1);
        if (done > 0 && run.progress.stopRequested()) {
            staged.commit();
            throw Stopped("\"Calculate\" was stopped (Esc) before the " + std::string(volume ? "volume" : "grid") +
                          of + ": no results table was written." +
                          (c.Check1 ? "" : " The level grids made so far are kept."));
        }
        run.progress.status((volume ? "Volume" : "Grid") + of);
        run.progress.step(done++, units);
    };
    for (int k = 1; k <= n + 1; ++k) {
        unit(false, k);
        const std::string name = "level" + std::to_string(k) + ".grd";
        const std::size_t at = static_cast<std::size_t>(k - 1);
        s.LevelGrids[at] = scratch ? scratch->file(name) : s.TopoStem + s.CuspCode + name;
        const std::string& grid = made[at] = scratch ? s.LevelGrids[at] : staged.work(s.LevelGrids[at]);
        levels[at] = levelHeight(tip, s.VertStep, k);
        const std::string function = levelFunction(levels[at]);
        staged.naming([&] {
            if (isV6(s))
                app.call("GridMath", Positional{s.PlaneGrid, omitted, grid, 1, function});
            else
                app.call("GridMath", Named{{"Function", function}, {"InGridA", s.PlaneGrid}, {"OutGridC", grid}});
        });
    }

    std::vector<std::string> lines{cuspVolHeader()};
    const std::string sheetPath = surffns::JoinFolder(c.Label1, "volume.dat");
    for (int k = 1; k <= n + 1; ++k) {
        unit(true, k);
        const std::string& grid = made[static_cast<std::size_t>(k - 1)];
        CuspVolRow row;
        staged.naming([&] {
            if (isV6(s)) {
                app.call("GridVolume", Positional{s.BlankedGrid, omitted, grid});
                const std::vector<double> v = readReportSheet(app, sheetPath, {{27, 3}, {40, 3}}, &staged);
                row.volume = v[0];
                row.posSurfArea = v[1];
            } else {
                surfer::ResultArray results(12, 0.0);
                app.call("GridVolume", Named{{"Upper", s.BlankedGrid}, {"Lower", grid}, {"pResults", results},
                                             {"ShowReport", false}});
                row.volume = results[3];
                row.posSurfArea = results[7];
            }
        });
        row.level = levels[static_cast<std::size_t>(k - 1)];
        row.tipText = c.Text8;
        row.interval = k - 1;
        row.divisorText = c.Text1;
        row.vertDist = row.interval * s.VertStep;
        row.dist = row.interval * interval;
        lines.push_back(cuspVolRow(row));
    }
    run.progress.step(units, units);
    formats::writeResultsTable(staged.work(cuspVolResultsPath(s.TopoStem, s.CuspCode, s.ToothLength)), lines);
    staged.commit();
    c.Label13 = "Done";
    return true;
}

// Runs a step with the hourglass; a failure ends it with its message.
bool guarded(CuspVolRun& run, bool (*step)(CuspVolRun&))
{
    return runGuarded(run.prompt, "", [&] { return step(run); });
}

} // namespace

bool Blank_Grid(CuspVolRun& run)
{
    if (!guarded(run, blankGrid))
        return false;
    if (run.c.chkAutoCalc)
        return Calculate(run);
    return true;
}

bool Calculate(CuspVolRun& run) { return guarded(run, calculate); }

} // namespace trelvik::toothfeatures
