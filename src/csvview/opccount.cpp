#include "csvview/opccount.h"

#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "csvview/rendergrey.h"
#include "csvview/renderimage.h"
#include "csvview/statsrow.h"
#include "formats/fastnumber.h"
#include "formats/resultscsv.h"

#include <charconv>
#include <algorithm>
#include <cstring>
#include <cmath>
#include <limits>

namespace trelvik::csvview {

namespace {

using text::WriteLine;

std::string wholeText(const std::string& typed) { return text::CStr(static_cast<double>(text::CInt(text::Val(typed)))); }

std::string composeName(const OpcSettings& s, const std::string& n, const std::string& m, const std::string& z) {
    if (s.source == ClumpSource::AspectSlope) {
        std::string name = "cl_asp" + n + "_" + m;
        if (s.useMinSlope) {
            name += "_" + s.minSlope;
            if (s.voidHoriz) name += "vh";
        }
        return name;
    }
    return s.contourByRange ? "cl_cor" + s.contourScaleR + "_" + m : "cl_con" + z + "_" + m;
}

// Results row after the file name: run name, P, the seven statistics, diversity, T, cells.
std::string resultsRow(const std::string& runName, double p, const SummaryStats& s, double diversity, long total,
                       long pixels) {
    return statsRow(runName, p, s)
        .num(diversity)
        .num(static_cast<double>(total))
        .num(static_cast<double>(pixels))
        .str();
}

std::string resultsHeader(bool withFile, const char* suffix) {
    WriteLine h;
    if (withFile) h.text("File");
    h.text("ClumpInfo");
    for (const char* name : {"NoClumps", "ClumpSizeMean", "ClumpSizeSD", "ClumpSizeMin", "ClumpSizeMax", "ClumpSizeMed",
                             "ClumpSize1Q", "ClumpSize3Q", "PatchDiversityClump"})
        h.text(std::string(name) + suffix);
    h.text("TotalPixels").text("PixelsInClumps");
    return h.str();
}

// x, y, patch number of every cell of a kept patch, rows ascending, columns inside.
void writePatchGrid(const std::string& path, const LatticeGrid& source, const PatchLabels& labels) {
    // Written through a small buffer: a large grid's table runs to tens of megabytes.
    AtomicTextWriter file(path);
    std::string out;
    out.reserve(1 << 20);
    char buf[3 * formats::kGeneralNumberMax + 8];
    // Lattice coordinates repeat: x along each column, y along each row. Their texts
    // are kept and copied instead of formatted again (the same value always gives the
    // same text), which halves the cost of a large table.
    struct Cached {
        double value = std::numeric_limits<double>::quiet_NaN();  // NaN matches nothing
        char text[formats::kGeneralNumberMax];
        int length = 0;
    };
    const auto put = [](Cached& c, double v, char* out) {
        if (!(c.value == v)) {
            c.value = v;
            c.length = static_cast<int>(formats::writeGeneralNumber(c.text, v) - c.text);
        }
        std::memcpy(out, c.text, static_cast<std::size_t>(c.length));
        return out + c.length;
    };
    const std::size_t cols = labels.cols > 0 ? static_cast<std::size_t>(labels.cols) : 1;
    std::vector<Cached> xCache(cols);
    Cached yCache;
    for (std::size_t k = 0; k < labels.patch.size(); ++k) {
        const int p = labels.patch[k];
        if (p == kNoLabel) continue;
        char* e = put(xCache[k % cols], source.cells[k].x, buf);
        *e++ = ',';
        e = put(yCache, source.cells[k].y, e);
        *e++ = ',';
        e = std::to_chars(e, buf + sizeof buf, p).ptr;  // patch numbers are whole
        *e++ = '\r';
        *e++ = '\n';
        out.append(buf, e);
        if (out.size() > (1 << 20) - 128) {
            file.write(out);
            out.clear();
        }
    }
    file.write(out);
    file.commit();
}

// The patch layer in grey between its lowest and highest number, as the fourth
// result view draws it, one pixel per cell plus the margin.
void writePatchImage(const std::string& path, const LatticeGrid& source, const PatchLabels& labels) {
    const LatticeGrid layer = labelLayer(source, labels.patch);
    double lo = 100000000, hi = -100000000;
    for (const GridCell& c : layer.cells)
        if (!isVoid(c.z)) {
            if (c.z < lo) lo = c.z;
            if (c.z > hi) hi = c.z;
        }
    writeBitmap(drawGreyGrid(layer, lo, hi).buffer, path);
}

} // namespace

std::optional<std::string> UpdateClumpNameID(const OpcSettings& s) {
    if (s.source == ClumpSource::CurrentView) return std::nullopt;
    return composeName(s, s.aspectNoCat, s.minClumpSize, s.contourScaleZ);
}

std::optional<std::string> clumpRunName(const OpcSettings& s) {
    if (s.source == ClumpSource::CurrentView) return std::nullopt;
    return composeName(s, wholeText(s.aspectNoCat), wholeText(s.minClumpSize),
                       text::CStr(text::Val(s.contourScaleZ)));
}

std::vector<int> sectorClasses(const LatticeGrid& source, int n, double width, double offset, bool voidHoriz) {
    std::vector<int> cls(source.cells.size(), kNoClass);
    for (std::size_t k = 0; k < cls.size(); ++k) {
        const double v = source.cells[k].z;
        if (isVoid(v)) continue;
        if (v == -1) {
            if (!voidHoriz) cls[k] = n + 1;
            continue;
        }
        int c = static_cast<int>(std::floor((v + offset) / width)) + 1;
        if (c == n + 1) c = 1;
        else if (c == n + 2) c = 2;
        cls[k] = c;
    }
    return cls;
}

std::vector<int> orientationClasses(const LatticeGrid& source, int n, double offset, bool voidHoriz) {
    return sectorClasses(source, n, 360.0 / n, offset, voidHoriz);
}

std::vector<int> bandClasses(const LatticeGrid& bands, int& n, bool voidHoriz) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const GridCell& c : bands.cells)
        if (!isVoid(c.z)) {
            lo = std::min(lo, c.z);
            hi = std::max(hi, c.z);
        }
    n = hi >= lo ? static_cast<int>(text::CInt(hi - lo + 1)) : 1;
    return sectorClasses(bands, n, 1.0, 0.0, voidHoriz);
}

long countInteriorCells(const LatticeGrid& working) {
    long t = 0;
    for (int r = 2; r < working.rows; ++r)
        for (int c = 2; c < working.cols; ++c)
            if (!working.isVoidCell(c, r)) ++t;
    return t;
}

LatticeGrid labelLayer(const LatticeGrid& source, const std::vector<int>& values) {
    LatticeGrid g = LatticeGrid::sameNodes(source, kVoidHeight);
    for (std::size_t k = 0; k < g.cells.size() && k < values.size(); ++k)
        if (values[k] != kNoLabel && values[k] != kNoClass) g.cells[k].z = values[k];
    return g;
}

namespace {

OpcResult stageClump(const OpcSettings& s, const OpcInput& in, AppState& app, Prompt& prompt, Progress& progress,
                     StagedFiles& files) {
    BusyScope busy(prompt);
    OpcResult res;
    if (s.source == ClumpSource::CurrentView) {
        prompt.message("", "This option is not enabled");
        return res;
    }
    if (!in.working || in.working->empty()) {
        prompt.message("Values", "Read a grid before counting patches");
        return res;
    }
    const LatticeGrid& working = *in.working;
    const long n = text::CInt(text::Val(s.aspectNoCat));
    if (s.source == ClumpSource::AspectSlope && (n < 1 || n > 32767)) {
        prompt.message("Values", "The number of categories must be from 1 to 32767");
        return res;
    }
    const long minSize = text::CInt(text::Val(s.minClumpSize));
    if (minSize < 0) {
        prompt.message("Values", "The minimum patch size must be 0 or more");
        return res;
    }
    // R as typed sets the turn between runs; the number of runs is R rounded (halves
    // to even), and the averages are taken over the runs actually made.
    int rotations = 1;
    double rotationValue = 1;
    if (s.opcr) {
        rotationValue = text::Val(s.noOpcRot);
        const double runs = std::isfinite(rotationValue) ? static_cast<double>(text::CInt(rotationValue)) : 0;
        if (!(runs >= 1) || runs > 3600) {
            prompt.message("Values", "The number of OPCR rotations must be from 1 to 3600");
            return res;
        }
        rotations = static_cast<int>(runs);
    }

    // The source grid is the same for every rotation: computed once.
    int classCount = static_cast<int>(n);
    if (s.source == ClumpSource::AspectSlope) {
        SlopeOptions so = in.slopeTab;
        so.wantSlope = true;
        so.wantOrient = true;
        so.aspectNoCat = text::Val(s.aspectNoCat);
        so.useMinSlope = s.useMinSlope;
        so.minSlope = text::Val(s.minSlope);
        SlopeRun run;
        run.grids = computeSlopeGrids(working, in.xstep, in.ystep, so);
        run.stats = writeSlopeOutputs(run.grids, so, in.ctx, app, prompt, &files);
        for (const std::string& f : run.stats.filesWritten) res.filesWritten.push_back(f);
        res.slope = std::move(run);
    } else {
        ContourOptions co;
        co.scaleByXyInterval = !s.contourByRange;
        co.scaleByRange = s.contourByRange;
        co.factor = text::Val(s.contourScaleZ);
        co.bandCount = text::Val(s.contourScaleR);
        if (!ContourBands(working, in.xstep, in.zmin, in.zmax, co, res.bands, prompt)) return res;
    }

    res.runName = *clumpRunName(s);
    res.rotations = rotations;
    const double width = classCount >= 1 ? 360.0 / static_cast<double>(classCount) : 360.0;
    const double typedCategories = text::Val(s.aspectNoCat);
    const double step = (360.0 / typedCategories) / rotationValue;
    const long total = countInteriorCells(working);
    std::string dir;
    double sumP = 0, sumDiv = 0;
    SummaryStats sum;

    for (int r = 1; r <= rotations; ++r) {
        progress.step(r - 1, rotations);
        if (s.source == ClumpSource::AspectSlope) {
            const double offset = width / 2 + (s.opcr ? (r - 1) * step : 0.0);
            res.classes = orientationClasses(res.processed(), classCount, offset, s.voidHoriz);
        } else {
            res.classes = bandClasses(res.processed(), classCount, s.voidHoriz);
        }
        res.labels = labelPatches(res.classes, working.cols, working.rows, minSize);
        const PatchStats st = patchStatistics(res.labels, total, app);
        res.runs.push_back(st);

        if (r == 1) {
            res.pixelsInClumps = st.pixelsInPatches;
            dir = ensureResultsFolder(in.ctx.folder, res.runName);
            const std::string stem = dir + in.ctx.baseName + "-" + res.runName;
            files.naming([&] { writePatchGrid(files.work(stem + ".csv"), res.processed(), res.labels); });
            res.filesWritten.push_back(stem + ".csv");
            std::vector<std::string> lines;
            lines.push_back(resultsHeader(false, ""));
            lines.push_back(resultsRow(res.runName, static_cast<double>(st.patches), st.sizes, st.diversity, total,
                                       st.pixelsInPatches));
            lines.emplace_back();
            lines.push_back(WriteLine().text("ClumpNo").text("ClumpSize").str());
            for (std::size_t i = 0; i < res.labels.patchSizes.size(); ++i)
                lines.push_back(
                    WriteLine().num(static_cast<double>(i + 1)).num(static_cast<double>(res.labels.patchSizes[i])).str());
            files.naming([&] { formats::writeResultsTable(files.work(stem + "results.csv"), lines); });
            res.filesWritten.push_back(stem + "results.csv");
            if (s.singleResultsFile) {
                const std::string path = dir + "00" + res.runName + "allresults.csv";
                stageSummaryRow(files, path, resultsHeader(true, ""),
                                WriteLine().text(in.ctx.baseName).str() + "," + lines[1], !in.ctx.allFilesStarted);
                res.filesWritten.push_back(path);
            }
            if (s.saveImage) {
                files.naming([&] { writePatchImage(files.work(stem + ".bmp"), res.processed(), res.labels); });
                res.filesWritten.push_back(stem + ".bmp");
            }
        }
        sumP += static_cast<double>(st.patches);
        sumDiv += st.diversity;
        sum.mean += st.sizes.mean;
        sum.sd += st.sizes.sd;
        sum.min += st.sizes.min;
        sum.max += st.sizes.max;
        sum.median += st.sizes.median;
        sum.q1 += st.sizes.q1;
        sum.q3 += st.sizes.q3;
    }
    progress.step(rotations, rotations);

    const double R = rotations;
    res.avgPatches = sumP / R;
    res.avgDiversity = sumDiv / R;
    res.avgSizes = SummaryStats{sum.mean / R, sum.sd / R,     sum.min / R, sum.max / R,
                                sum.median / R, sum.q1 / R, sum.q3 / R};
    res.totalCells = total;
    res.noClumpsText = text::CStr(static_cast<double>(res.runs.back().patches));
    res.pdClumpedText = text::CStr(text::Round(res.runs.back().diversity, 3));

    if (s.singleResultsFile) {
        const std::string tag = res.runName + "_R" + text::CStr(rotationValue);
        const std::string path = dir + "00" + tag + "-OPCRallresults.csv";
        const std::string row = WriteLine().text(in.ctx.baseName).str() + "," +
                                resultsRow(tag, res.avgPatches, res.avgSizes, res.avgDiversity, total, res.pixelsInClumps);
        stageSummaryRow(files, path, resultsHeader(true, "_OPCR"), row, !in.ctx.allFilesStarted);
        res.filesWritten.push_back(path);
    }
    res.done = true;
    return res;
}

} // namespace

OpcResult ProcClump(const OpcSettings& s, const OpcInput& in, AppState& app, Prompt& prompt, Progress& progress,
                    StagedFiles* into) {
    if (into) return stageClump(s, in, app, prompt, progress, *into);
    StagedFiles files;
    OpcResult res = stageClump(s, in, app, prompt, progress, files);
    if (res.done) files.commit();
    return res;
}

} // namespace trelvik::csvview
