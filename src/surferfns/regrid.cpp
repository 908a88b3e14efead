#include "surferfns/regrid.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/xyzpointfile.h"
#include "surfer/application.h"
#include "surferfns/blanking.h"
#include "surferfns/plotsurfer.h"
#include "surferfns/regridxyz.h"

#include <cmath>
#include <filesystem>

namespace trelvik::surffns {

using surfer::Positional;
using text::Round;

ExactLattice ExactResolutionLattice(double xMin, double xMax, double yMin, double yMax, long n, ExactAxis axis) {
    const double xr = xMax - xMin, yr = yMax - yMin;
    const bool mainX = axis == ExactAxis::Cols || (axis == ExactAxis::RowsCols && std::fabs(xr) > std::fabs(yr));
    ExactLattice l;
    l.x0 = xMin;
    l.y0 = yMin;
    if (mainX) {
        l.NumCols = n;
        l.dx = Round(xr / static_cast<double>(n - 1), 3);
        l.dy = l.dx;
        l.NumRows = l.dy != 0 ? static_cast<long>(Round(std::fabs(yr) / l.dy, 0)) : 0;
    } else {
        l.NumRows = n;
        l.dy = Round(yr / static_cast<double>(n - 1), 3);
        l.dx = l.dy;
        l.NumCols = l.dx != 0 ? static_cast<long>(Round(std::fabs(xr) / l.dx, 0)) : 0;
    }
    l.x1 = l.x0 + static_cast<double>(l.NumCols - 1) * l.dx;
    l.y1 = l.y0 + static_cast<double>(l.NumRows - 1) * l.dy;
    return l;
}

namespace {

void makeFolder(const std::string& dir) { trelvik::makeFolder(dir, "Cannot create the folder " + dir); }

class RegridRun {
public:
    RegridRun(SurfFnsContext& ctx, const RegridOptions& o, long n) : ctx_(ctx), o_(o), n_(n) {}

    // The outline files entry i is blanked by, in the order they were always looked
    // for: a name they cannot be built from leaves the entry out (`leftOut`), and a
    // file the reader will not take is refused (`refusal`).
    struct Outlines {
        std::string blankLine, rowLine;
        std::string leftOut;
        std::string refusal;
    };
    Outlines outlines(int i) const {
        const SurfFnsState& s = ctx_.state;
        const std::string& S = s.GridPathNoExt[i - 1];
        const std::string& base = s.GridBaseName[i - 1];
        const std::string no = std::to_string(i);
        Outlines o;
        if (o_.optRegridTxt) {
            o.blankLine = S + "blnpts.bln";
        } else {
            const auto stem = DelCharStem(S, base, o_.txtRegridDelChar);
            if (!stem) {
                o.leftOut = "Del from grd fname \"" + o_.txtRegridDelChar + "\" cannot be taken off the name " + base +
                            " (file no. " + no + "): it must be a number from 0 to " + std::to_string(base.size()) +
                            ". The file is left out.";
                return o;
            }
            o.blankLine = *stem + "blnpts.bln";
        }
        o.refusal = BlankingFileRefusal(i, o.blankLine);
        if (!o.refusal.empty()) return o;
        if (o_.chkRegridIndivTeeth) {
            if (S.size() < 6 || S.compare(S.size() - 6, 3, "b-s") != 0) {
                o.leftOut = "The name " + base + " (file no. " + no +
                            ") does not end in \"b-s\" and a tooth code, so it has no tooth-row outline. The file "
                            "is left out.";
                return o;
            }
            o.rowLine = S.substr(0, S.size() - 6) + "blnpts.bln";
            o.refusal = BlankingFileRefusal(i, o.rowLine, "row blanking file");
        }
        return o;
    }

    // Every entry's outline files, looked for before the mapping program is attached:
    // attaching shows the map window, which a refusal would leave in front with the focus.
    bool outlinesPresent() const {
        for (int i = 1; i <= ctx_.state.NumFiles; ++i)
            if (const Outlines o = outlines(i); !o.refusal.empty()) {
                RefuseBlankingFile(ctx_, o.refusal);
                return false;
            }
        return true;
    }

    EntryResult entry(int i) {
        SurfFnsState& s = ctx_.state;
        const std::string& dir = s.GridDir[i - 1];
        const std::string& base = s.GridBaseName[i - 1];
        const std::string& T = o_.txtExactNoRC;
        const std::string no = std::to_string(i);

        const Outlines outline = outlines(i);
        if (!outline.refusal.empty()) return RefuseBlankingFile(ctx_, outline.refusal);
        if (!outline.leftOut.empty()) return skip(outline.leftOut);
        const std::string& blankLine = outline.blankLine;
        const std::string& rowLine = outline.rowLine;

        // The data to grid and its extents.
        const std::string& grid = s.GridFullName[i - 1];
        std::optional<PrivateTempFile> xyz;
        std::string data;
        UnblankedXyz extent;
        if (o_.optRegridTxt) {
            data = grid;
            const PointList points = formats::readXyzPointFile(data);
            if (!points.empty()) {
                extent.records = points.size();
                extent.xMin = extent.xMax = points[0].x;
                extent.yMin = extent.yMax = points[0].y;
            }
            for (const PointXYZ& p : points) {
                if (p.x < extent.xMin) extent.xMin = p.x;
                if (p.y < extent.yMin) extent.yMin = p.y;
                if (p.x > extent.xMax) extent.xMax = p.x;
                if (p.y > extent.yMax) extent.yMax = p.y;
            }
        } else {
            xyz.emplace(".txt");
            data = xyz->path();
            CallSurferPositional(ctx_, "GridConvert", Positional{grid, data, 3}, Positional{grid, data, 4});
            extent = writeUnblankedXyz(data, data);
        }
        if (extent.records == 0) throw Error("The XYZ data of " + grid + " holds no unblanked point to regrid.");
        const double xMin = extent.xMin, xMax = extent.xMax, yMin = extent.yMin, yMax = extent.yMax;

        const ExactLattice l = ExactResolutionLattice(xMin, xMax, yMin, yMax, n_, o_.axis);
        if (l.dx <= 0 || l.NumCols < 2 || l.NumRows < 2)
            return skip("The extent of " + base + " (file no. " + no + ") is too small for " + T +
                        " nodes: the spacing rounds to " + text::CStr(l.dx) + " and the lattice would be " +
                        std::to_string(l.NumCols) + " x " + std::to_string(l.NumRows) + " nodes. The file is left out.");

        // The regridded grid, the blanked grid and its XYZ text are read as one set: they
        // are made under working names and put in place with one commit.
        StagedFiles staged;
        std::string& out = s.OutGridName[i - 1];
        out = dir + T + "b_grd" + sep() + base + T + "b.grd";
        staged.naming([&] {
            makeFolder(dir + T + "_grd");
            const std::string& regrid = staged.work(dir + T + "_grd" + sep() + base + T + ".grd");
            GridDataCall(ctx_, data, l, 2, "", regrid);
            xyz.reset();

            makeFolder(dir + T + "b_grd");
            const std::string& blanked = staged.work(out);
            GridBlankCall(ctx_, regrid, blankLine, blanked);
            if (o_.chkRegridIndivTeeth) GridBlankCall(ctx_, blanked, rowLine, blanked);

            // The blanked grid's XYZ text is scratch; only its unblanked nodes go into the set.
            makeFolder(dir + T + "b_dat");
            const PrivateTempFile dump(".dat");
            CallSurferPositional(ctx_, "GridConvert", Positional{blanked, dump.path(), 3},
                                 Positional{blanked, dump.path(), 4});
            writeUnblankedXyz(dump.path(), staged.work(dir + T + "b_dat" + sep() + base + T + "b.dat"));
        });
        staged.commit();

        if (ctx_.chkPlotSurfer) {
            s.PlotType = o_.optTerrain ? 3 : ctx_.plot.PlotType;
            PlotSurfer(ctx_, out, s.PlotType);
        }
        return EntryResult::Skipped;  // plotted here, with its own map type
    }

private:
    static std::string sep() { return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator)); }

    EntryResult skip(const std::string& text) {
        Report(ctx_, "", text);
        return EntryResult::Skipped;
    }

    SurfFnsContext& ctx_;
    const RegridOptions& o_;
    long n_;
};

} // namespace

BatchOutcome cmdRegridExactResol(SurfFnsContext& ctx, const RegridOptions& options) {
    const long long n = text::CInt(text::Val(options.txtExactNoRC));
    if (n < 2) {
        Refuse(ctx, "Values", "Exact no. must be a whole number of at least 2.");
        return BatchOutcome::Stopped;
    }
    RegridRun run(ctx, options, static_cast<long>(n));
    ctx.batchStep = "regridding";
    return RunBatch(
        ctx, [&run](SurfFnsContext&, int i) { return run.entry(i); }, ClearRule::Always,
        [&run] { return run.outlinesPresent(); });
}

} // namespace trelvik::surffns
