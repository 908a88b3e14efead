#include "surferfns/extraction.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/digitisefile.h"
#include "formats/xyzdump.h"
#include "surfer/application.h"
#include "surferfns/gridgeo.h"
#include "surferfns/regridxyz.h"

#include <algorithm>

namespace trelvik::surffns {

using surfer::Named;
using surfer::Positional;
using text::Int;

NodeRect DigitisedRect(const GridGeo& geo, double x1, double y1, double x2, double y2) {
    NodeRect r;
    r.FirstCol = std::max(1, static_cast<int>(Int((x1 - geo.GeoXMin) / geo.GeoXSpacing)) + 2);
    r.FirstRow = std::max(1, static_cast<int>(Int((y1 - geo.GeoYMin) / geo.GeoYSpacing)) + 2);
    r.LastCol = std::min(static_cast<int>(geo.GeoCols), static_cast<int>(Int((x2 - geo.GeoXMin) / geo.GeoXSpacing)) + 1);
    r.LastRow = std::min(static_cast<int>(geo.GeoRows), static_cast<int>(Int((y2 - geo.GeoYMin) / geo.GeoYSpacing)) + 1);
    return r;
}

namespace {
void checkDumpSize(const PointList& dump, int cols, int rows, const std::string& source) {
    if (cols < 1 || rows < 1 || dump.size() != static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows))
        throw Error("The XYZ text of " + source + " holds " + std::to_string(dump.size()) + " nodes, not the " +
                    std::to_string(cols) + " x " + std::to_string(rows) + " of its geometry.");
}
} // namespace

std::optional<NodeRect> MaxUnblankedRect(const PointList& dump, int cols, int rows, const std::string& source) {
    checkDumpSize(dump, cols, rows, source);
    std::vector<char> colHas(static_cast<std::size_t>(cols), 0), rowHas(static_cast<std::size_t>(rows), 0);
    bool any = false;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i)
            if (dump[static_cast<std::size_t>(j) * cols + i].z < 1e38) {
                colHas[static_cast<std::size_t>(i)] = rowHas[static_cast<std::size_t>(j)] = 1;
                any = true;
            }
    if (!any) return std::nullopt;
    auto first = [](const std::vector<char>& v) { return static_cast<int>(std::find(v.begin(), v.end(), 1) - v.begin()) + 1; };
    auto last = [](const std::vector<char>& v) { return static_cast<int>(v.rend() - std::find(v.rbegin(), v.rend(), 1)); };
    NodeRect r;
    r.FirstCol = std::max(1, first(colHas) - 3);
    r.LastCol = std::min(cols, last(colHas) + 3);
    r.FirstRow = std::max(1, first(rowHas) - 3);
    r.LastRow = std::min(rows, last(rowHas) + 3);
    return r;
}

bool HoldsUnblankedNode(const PointList& dump, int cols, int rows, const NodeRect& r, const std::string& source) {
    checkDumpSize(dump, cols, rows, source);
    for (int j = std::max(1, r.FirstRow); j <= std::min(rows, r.LastRow); ++j)
        for (int i = std::max(1, r.FirstCol); i <= std::min(cols, r.LastCol); ++i)
            if (dump[static_cast<std::size_t>(j - 1) * cols + (i - 1)].z < 1e38) return true;
    return false;
}

int MaxNoFrequency(const NodeRect& r, double maxNo) {
    const int span = std::max(r.LastCol - r.FirstCol, r.LastRow - r.FirstRow);
    if (maxNo < span) return static_cast<int>(Int(span / maxNo)) + 1;
    return 1;
}

namespace {

class ExtractRun {
public:
    ExtractRun(SurfFnsContext& ctx, const ExtractOptions& o) : ctx_(ctx), o_(o) {}

    EntryResult entry(int i) {
        SurfFnsState& s = ctx_.state;
        std::string suffix;
        ReadEntryGeometry(ctx_, i, false);
        const GridGeo& geo = s.Geo;
        const int cols = static_cast<int>(geo.GeoCols), rows = static_cast<int>(geo.GeoRows);
        NodeRect rect{1, cols, 1, rows};
        // The copy of the corners and the extracted grid are made under working names and
        // put in place together once the grid program has written the grid.
        StagedFiles staged;
        if (o_.chkRedArea && o_.optRedAreaDig) {
            const std::string& base = s.GridBaseName[i - 1];
            const std::string saved = s.GridDir[i - 1] + "digit.dat";
            if (!AskDigitise(ctx_, "Use 'Digitise' to digitise bottom left and top right of area in " + base +
                                       " to keep.",
                             saved))
                return EntryResult::Stop;
            // The corners are checked before their copy is written: a refused pair leaves
            // the copy of the corners that made the extracted grid.
            const formats::PointXYList pts = formats::readDigitisePoints(saved);  // errors name the user's file
            if (pts.size() < 2)
                throw Error("The digitise file " + saved + " holds " + std::to_string(pts.size()) +
                            " point; two corners are needed.");
            if (pts[0].x >= pts[1].x || pts[0].y >= pts[1].y) {
                Refuse(ctx_, "", "Points invalid - redigitise points. The first point is the bottom left corner "
                                 "of the area to keep and the second the top right.");
                return EntryResult::Stop;
            }
            rect = DigitisedRect(geo, pts[0].x, pts[0].y, pts[1].x, pts[1].y);
            // An area off the crown would give a grid of blank nodes only.
            if (!HoldsUnblankedNode(nodeDump(i), cols, rows, rect, s.GridFullName[i - 1])) {
                Refuse(ctx_, "", "The area digitised on " + base +
                                     " holds no node with a height: it lies off the crown. Redigitise its "
                                     "bottom left and top right on the crown.");
                return EntryResult::Stop;
            }
            copyFileReplacing(saved, staged.work(s.GridPathNoExt[i - 1] + "extpts.dat"));
            suffix = "ed";
        } else if (o_.chkRedArea) {
            const std::string& grid = s.GridFullName[i - 1];
            const auto r = MaxUnblankedRect(nodeDump(i), cols, rows, grid);
            if (!r) {
                Report(ctx_, "", "Every node of " + s.GridBaseName[i - 1] + " is blank: there is no area to extract.");
                return EntryResult::Skipped;
            }
            rect = *r;
            suffix = "em";
        }

        int freq = 1;
        if (o_.chkRedRow && o_.optRedRowFactor) {
            freq = static_cast<int>(text::CInt(text::Val(o_.txtRedRowFactor)));
            suffix += "rf" + o_.txtRedRowFactor;
        } else if (o_.chkRedRow) {
            freq = MaxNoFrequency(rect, text::Val(o_.txtRedRowMax));
            if (freq != 1) suffix += "rm" + o_.txtRedRowMax;
        }

        s.OutGridName[i - 1] = s.GridPathNoExt[i - 1] + suffix + ".grd";
        if (rect == NodeRect{1, cols, 1, rows} && freq == 1) {
            Report(ctx_, "", "Grid extraction for " + s.GridBaseName[i - 1] + " not required");
            return EntryResult::Skipped;
        }
        const std::string& in = s.GridFullName[i - 1];
        const std::string& out = staged.work(s.OutGridName[i - 1]);
        if (CallSurferPositional(ctx_, "GridExtract",
                                 Positional{in, rect.FirstRow, rect.FirstCol, rect.LastRow, rect.LastCol, freq, freq, out},
                                 Positional{in, rect.FirstRow, rect.LastRow, freq, rect.FirstCol, rect.LastCol, freq, out}))
            staged.commit();
        return EntryResult::Done;
    }

private:
    // The grid's nodes as the mapping program's XYZ text, read from a private temporary file.
    PointList nodeDump(int i) {
        const std::string& grid = ctx_.state.GridFullName[i - 1];
        PrivateTempFile dump;
        CallSurferPositional(ctx_, "GridConvert", Positional{grid, dump.path(), 3}, Positional{grid, dump.path(), 4});
        return formats::readXyzDump(dump.path());
    }

    SurfFnsContext& ctx_;
    const ExtractOptions& o_;
};

} // namespace

BatchOutcome cmdExtract(SurfFnsContext& ctx, const ExtractOptions& options) {
    if (!options.chkRedArea && !options.chkRedRow) {
        Refuse(ctx, "Extract", "Tick \"Reduce grid area\" or \"Reduce no. row/col\" (or both) to say what to "
                               "extract, then press Extract.");
        return BatchOutcome::Stopped;
    }
    if (options.chkRedRow) {
        // A frequency below 1 has no meaning for GridExtract; refuse it before any work.
        const bool factor = options.optRedRowFactor;
        const double v = text::Val(factor ? options.txtRedRowFactor : options.txtRedRowMax);
        if ((factor && text::CInt(v) < 1) || (!factor && v < 1)) {
            Refuse(ctx, "Values", factor ? "Factor must be a whole number of at least 1."
                                                : "Max no. must be a number of at least 1.");
            return BatchOutcome::Stopped;
        }
    }
    ExtractRun run(ctx, options);
    ctx.batchStep = "extracting";
    return RunBatch(ctx, [&run](SurfFnsContext&, int i) { return run.entry(i); });
}

} // namespace trelvik::surffns
