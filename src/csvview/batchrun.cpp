#include "csvview/batchrun.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"

#include <algorithm>
#include <filesystem>

namespace trelvik::csvview {

namespace fs = std::filesystem;

std::vector<std::string> batchFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fe;
        if (!it->is_regular_file(fe)) continue;
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == ".dat") names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

BatchResult ProcessAllFiles(const BatchOptions& opts, AppState& app, Prompt& prompt, Progress& progress,
                            const std::function<void(const BatchFileResult&)>& afterFile) {
    BusyScope busy(prompt);
    BatchResult res;
    res.files = batchFiles(opts.folder);
    if (res.files.empty()) {
        prompt.message("", "The folder " + opts.folder + " holds no .dat file: \"All files\" runs on every .dat "
                           "file of the folder shown in the file list.");
        return res;
    }

    // The batch flags: running for the whole batch, started once the first file is done.
    bool started = false;
    SlopeOptions slopeOpts = opts.slope;
    slopeFlags(slopeOpts.choice, slopeOpts);
    CurrentGrid previous;
    previous.sizeMode = opts.previousSizeMode;
    const long total = static_cast<long>(res.files.size());
    for (long i = 0; i < total; ++i) {
        const std::string& name = res.files[static_cast<std::size_t>(i)];
        progress.status("File " + std::to_string(i + 1) + " / " + std::to_string(total) + ": " + name);
        progress.step(i, total);
        BatchFileResult f;
        f.fileName = name;
        // The file's outputs, the window's picture of it included, go in place together.
        StagedFiles files;
        f.files = &files;
        try {
            ReadCsvOptions ro;
            ro.folder = opts.folder;
            ro.fileName = name;
            ro.originalModel = opts.originalModel;
            ro.size = opts.size;
            f.grid.sizeMode = previous.sizeMode;
            if (!ReadCsvGrid(ro, f.grid, f.points, prompt).done) {
                res.failed = true;
                break;
            }
            f.working = static_cast<const LatticeGrid&>(f.grid);
            RunContext ctx;
            ctx.folder = f.grid.folder;
            ctx.baseName = f.grid.baseName;
            ctx.allFilesRunning = true;
            ctx.allFilesStarted = started;
            bool ok = true;
            switch (opts.mode) {
            case AllFilesMode::Clump: {
                OpcInput in;
                in.working = &f.working;
                in.xstep = f.grid.xstep;
                in.ystep = f.grid.ystep;
                in.zmin = f.grid.zmin;
                in.zmax = f.grid.zmax;
                in.slopeTab = opts.slope;
                in.ctx = ctx;
                f.opc = ProcClump(opts.opc, in, app, prompt, noProgress(), &files);
                ok = f.opc->done;
                break;
            }
            case AllFilesMode::AspectSlope:
                f.slope = AspectSlopeCalc(f.working, f.grid.xstep, f.grid.ystep, slopeOpts, ctx, app, prompt, &files);
                break;
            case AllFilesMode::Contour: {
                LatticeGrid bands;
                ok = ContourBands(f.working, f.grid.xstep, f.grid.zmin, f.grid.zmax, opts.contour, bands, prompt);
                f.bands = std::move(bands);
                break;
            }
            case AllFilesMode::CalcStats:
                f.surface = CalcSAVolStats(f.working, f.grid.xstep, f.grid.ystep, f.grid.zmin, opts.saveSAVolStats, ctx);
                break;
            }
            if (!ok) {
                res.failed = true;
                break;
            }
            if (afterFile) afterFile(f);
            files.commit();
        } catch (const Error& e) {
            prompt.message("Error", std::string(e.what()) + " (the batch stopped at " + name + ")");
            res.failed = true;
            break;
        }
        started = true;
        ++res.filesDone;
        previous.sizeMode = f.grid.sizeMode;
        f.files = nullptr;
        res.last = std::move(f);
    }
    progress.step(res.filesDone, total);
    return res;
}

} // namespace trelvik::csvview
