#include "surferfns/surffnsstate.h"

#include "core/digitiseinputs.h"
#include "core/error.h"
#include "core/textform.h"
#include "surfer/application.h"
#include "surfer/operationprogress.h"
#include "surferfns/plotsurfer.h"
#include "surferfns/preparesurfer.h"

#include <exception>
#include <filesystem>

namespace trelvik::surffns {

namespace {
constexpr const char* kFilenameTitle = "Filename";
const char kSep = static_cast<char>(std::filesystem::path::preferred_separator);

bool refuse(SurfFnsContext& ctx, const char* text) {
    Refuse(ctx, kFilenameTitle, text);
    return false;
}
} // namespace

void ApplyPreset(PlotOptions& options, const ViewPreset& preset) {
    options.txtAzimuth = preset.Azimuth;
    options.txtZenith = preset.Zenith;
    options.Projection = preset.Projection;
    options.txtRot = preset.Rot;
    options.txtTilt = preset.Tilt;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    return folder + kSep + name;
}

bool AddFilename(SurfFnsContext& ctx) {
    ctx.prompt.busy(true);
    const std::string& name = ctx.Text2;
    // Four characters are cut off as the extension; a shorter name would leave no base
    // name and every output would be named by its suffix alone.
    if (name.empty() || name == "*.grd") return refuse(ctx, "Choose grid filename");
    if (name.size() <= 4)
        return refuse(ctx, "The file name is too short: its last four characters are cut off as the "
                           "extension and no base name would be left");
    SurfFnsState& s = ctx.state;
    const std::string full = JoinFolder(ctx.File2Folder, name);
    for (int i = 1; i <= s.NumFiles; ++i) {
        s.FileIndex = i;
        if (s.GridFullName[i - 1] == full) return refuse(ctx, "Filename already added");
    }
    s.FileIndex = s.NumFiles + 1;  // where the finished scan leaves it
    const std::string dir = ctx.File2Folder + kSep;
    const std::string base = name.substr(0, name.size() - 4);
    ++s.NumFiles;
    s.GridDir.push_back(dir);
    s.GridBaseName.push_back(base);
    s.GridPathNoExt.push_back(dir + base);
    s.GridFullName.push_back(full);
    s.OutGridName.emplace_back();
    ctx.prompt.busy(false);
    return true;
}

namespace {
// Takes the refusals of one "Add all filenames" so that they are shown together.
class CollectedRefusals : public Prompt {
public:
    explicit CollectedRefusals(Prompt& real) : real_(real) {}
    Answer message(const std::string&, const std::string& text, Buttons) override {
        last = text;
        return Answer::Ok;
    }
    void busy(bool on) override { real_.busy(on); }
    std::string last;

private:
    Prompt& real_;
};

std::string nameList(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 30;
    std::string out;
    for (std::size_t k = 0; k < names.size() && k < kShown; ++k) out += (k ? ", " : "") + names[k];
    if (names.size() > kShown) out += " and " + std::to_string(names.size() - kShown) + " more";
    return out;
}
} // namespace

int AddAllFilenames(SurfFnsContext& ctx) {
    int added = 0;
    CollectedRefusals collected(ctx.prompt);
    std::vector<std::string> duplicates, others;
    std::string otherReason;
    for (const std::string& n : ctx.File2Names) {
        SurfFnsContext one{ctx.app, collected, ctx.state};
        one.File2Folder = ctx.File2Folder;
        one.Text2 = n;
        collected.last.clear();
        if (AddFilename(one)) {
            ++added;
        } else if (collected.last == "Filename already added") {
            duplicates.push_back(n);
        } else {
            others.push_back(n);
            otherReason = collected.last;
        }
    }
    if (!ctx.File2Names.empty()) ctx.Text2 = ctx.File2Names.front();
    // One message for the whole folder, not one box per file.
    std::string text;
    if (!duplicates.empty())
        text = std::to_string(duplicates.size()) + (duplicates.size() == 1 ? " file was" : " files were") +
               " already in the list and not added again: " + nameList(duplicates) + ".";
    if (!others.empty())
        text += std::string(text.empty() ? "" : "\n") + std::to_string(others.size()) +
                (others.size() == 1 ? " file was" : " files were") + " not added (" + otherReason +
                "): " + nameList(others) + ".";
    if (!text.empty()) Refuse(ctx, kFilenameTitle, text);
    return added;
}

void ClearFilenames(SurfFnsState& s) {
    s.NumFiles = 0;
    s.GridFullName.clear();
    s.GridDir.clear();
    s.GridBaseName.clear();
    s.GridPathNoExt.clear();
    s.OutGridName.clear();
}

bool IsV6(const SurfFnsContext& ctx) { return ctx.app.SurferVersion == "SurferV6"; }
bool IsV8(const SurfFnsContext& ctx) { return ctx.app.SurferVersion == "SurferV8"; }

bool CallSurfer(SurfFnsContext& ctx, const std::string& operation, const surfer::Positional& v6,
                const surfer::Named& v8) {
    if (!IsV6(ctx) && !IsV8(ctx)) return false;
    if (!ctx.app.SurferApp) throw Error(operation + ": the mapping program is not connected");
    if (IsV6(ctx)) ctx.app.SurferApp->call(operation, v6);
    else ctx.app.SurferApp->call(operation, v8);
    return true;
}

void Report(SurfFnsContext& ctx, const std::string& title, const std::string& text) {
    ctx.prompt.busy(false);
    ctx.prompt.message(title, text);
    ctx.prompt.busy(true);
}

void Refuse(SurfFnsContext& ctx, const std::string& title, const std::string& text) { refuse(ctx.prompt, title, text); }

bool AskDigitise(SurfFnsContext& ctx, const std::string& instruction, const std::string& readPath) {
    ShowNewSurfer(ctx);  // the user digitises in the window of the instance asked for
    return askDigitise(ctx.prompt, instruction, readPath);
}

namespace {
// Runs the loop body; turns every failure into a message and a Failed outcome.
BatchOutcome guarded(SurfFnsContext& ctx, const std::function<BatchOutcome()>& body) {
    std::string title, failure;
    try {
        return body();
    } catch (const Refusal& e) {
        title = e.title();
        failure = e.what();
    } catch (const Error& e) {
        failure = e.what();
    } catch (const std::exception& e) {
        failure = std::string("The operation failed: ") + e.what();
    }
    ctx.prompt.busy(false);
    ctx.prompt.message(title, failure);
    return BatchOutcome::Failed;
}

// The list is completed and checked before the mapping program is attached: attaching
// shows the map window, which a refusal would leave in front with the focus.
bool startList(SurfFnsContext& ctx, const std::function<bool()>& check) {
    if (ctx.state.NumFiles == 0) {
        if (!AddFilename(ctx)) return false;  // nothing to run: its refusal is the answer
        ctx.prompt.busy(true);  // Add filename ends with the normal pointer; the batch goes on
    }
    if (!ListedGridsPresent(ctx)) return false;
    if (check && !check()) return false;
    PrepareSurfer(ctx);
    return true;
}
} // namespace

bool ListedGridsPresent(SurfFnsContext& ctx) {
    for (const std::string& grid : ctx.state.GridFullName)
        if (!inputsPresent(ctx.prompt, {{grid, "grid",
                                         "put it back, or press \"Clear filenames\" and add the grids that exist."}}))
            return false;
    return true;
}

Progress& BatchProgress(SurfFnsContext& ctx) { return ctx.progress ? *ctx.progress : noProgress(); }

void BatchStep(SurfFnsContext& ctx, const std::string& what) {
    const int i = ctx.state.FileIndex.value_or(1);
    BatchProgress(ctx).status("grid " + std::to_string(i) + " of " + std::to_string(ctx.state.NumFiles) + ": " + what);
}

BatchOutcome RunBatch(SurfFnsContext& ctx, const EntryOperation& op, ClearRule clear,
                      const std::function<bool()>& check) {
    BusyScope busy(ctx.prompt);
    Progress& progress = BatchProgress(ctx);
    // The long grid operations report their rows to the same sink.
    const surfer::OperationProgress rows(&progress);
    return guarded(ctx, [&] {
        if (!startList(ctx, check)) return BatchOutcome::Stopped;
        SurfFnsState& s = ctx.state;
        const int n = s.NumFiles;
        for (s.FileIndex = 1; *s.FileIndex <= n; s.FileIndex = *s.FileIndex + 1) {
            const int i = *s.FileIndex;
            if (progress.stopRequested()) {
                Refuse(ctx, "", "Stopped (Esc) before grid " + std::to_string(i) + " of " + std::to_string(n) +
                                    ": the outputs of the grids before it are kept.");
                return BatchOutcome::Stopped;
            }
            BatchStep(ctx, ctx.batchStep);
            progress.step(i - 1, n);
            const EntryResult r = op(ctx, i);
            if (r == EntryResult::Stop) return BatchOutcome::Stopped;
            if (r == EntryResult::Done && ctx.chkPlotSurfer) {
                s.PlotType = ctx.plot.PlotType;
                PlotSurfer(ctx, s.OutGridName[i - 1], s.PlotType);
            }
        }
        progress.step(n, n);
        if (clear == ClearRule::Always || (clear == ClearRule::IfTicked && ctx.chkClearFilenames))
            ClearFilenames(s);
        return BatchOutcome::Completed;
    });
}

BatchOutcome PlotGrids(SurfFnsContext& ctx) {
    auto plotInput = [](SurfFnsContext& c, int i) {
        SurfFnsState& s = c.state;
        s.OutGridName[i - 1] = s.GridFullName[i - 1];
        s.PlotType = c.plot.PlotType;
        PlotSurfer(c, s.OutGridName[i - 1], s.PlotType);
        return EntryResult::Skipped;  // plotted whether or not "Plot in Surfer" is ticked
    };
    ctx.batchStep = "plotting";
    return RunBatch(ctx, plotInput, ClearRule::IfTicked);
}

} // namespace trelvik::surffns
