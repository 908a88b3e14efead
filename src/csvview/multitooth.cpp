#include "csvview/multitooth.h"

#include "core/error.h"
#include "core/textform.h"
#include "csvview/latticeread.h"
#include "formats/multitoothfile.h"

#include <cmath>
#include <filesystem>

namespace trelvik::csvview {

namespace {

// Passes the first message of each text on and drops its repeats, so that a file
// of many teeth without a lattice step shows its message once, not once per tooth.
class OncePrompt : public Prompt {
public:
    explicit OncePrompt(Prompt& inner) : inner_(inner) {}
    Answer message(const std::string& title, const std::string& text, Buttons buttons) override {
        ++count;
        for (const std::string& s : seen_)
            if (s == text) return Answer::Ok;
        seen_.push_back(text);
        return inner_.message(title, text, buttons);
    }
    long count = 0;

private:
    Prompt& inner_;
    std::vector<std::string> seen_;
};

template <class T>
void permute(std::vector<T>& v, const std::vector<long>& order) {
    std::vector<T> out;
    out.reserve(order.size());
    for (long i : order) out.push_back(std::move(v[static_cast<std::size_t>(i)]));
    v = std::move(out);
}

} // namespace

bool MultiToothStore::present(long t) const {
    if (t < 1 || t > toothCount) return false;
    for (std::uint8_t f : grids[static_cast<std::size_t>(t - 1)].filled)
        if (f) return true;
    return false;
}

void MultiToothStore::reorder(const std::vector<long>& order) {
    if (static_cast<long>(order.size()) != toothCount) throw Error("Tooth order does not match the teeth held");
    permute(params, order);
    permute(grids, order);
    permute(zmin, order);
    permute(zmax, order);
}

ToothSlider ToothSlider::forTeeth(long teeth) {
    ToothSlider s;
    s.max = teeth;
    const double power = text::Round(std::log(static_cast<double>(teeth > 0 ? teeth : 1)) / std::log(10.0)) - 1;
    s.tickFrequency = text::CInt(std::pow(10.0, power));
    s.value = 1;
    return s;
}

std::optional<long> ToothSlider::keyDown(int keyCode) const {
    if (keyCode == 36) return min;
    if (keyCode == 35) return max;
    return std::nullopt;
}

MultiToothReadResult ReadMultiToothFile(const MultiToothReadOptions& opts, MultiToothStore& store, Prompt& prompt,
                                        Progress& progress) {
    BusyScope busy(prompt);
    MultiToothReadResult res;
    const std::string name = text::Trim(opts.fileName);
    if (name.empty() || name.find('*') != std::string::npos || name.find('?') != std::string::npos) {
        prompt.message("Filename", "Choose csv filename");
        return res;
    }
    if (opts.size == SizeOption::Other && store.lattice.sizeMode == SizeMode::None) {
        prompt.message("Grid size", "Choose a grid size");
        return res;
    }
    const long maxTeeth = text::CInt(text::Val(opts.maxTeeth));
    if (maxTeeth < 1) {
        prompt.message("Values", "The maximum number of teeth must be 1 or more");
        return res;
    }
    std::string folder = opts.folder;
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\'))
        folder += static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string path = folder + name;

    const formats::MultiToothFile file(path);
    const long teeth = file.toothCount();
    res.teethInFile = teeth;
    if (teeth > maxTeeth) {
        if (!opts.split) {
            prompt.message("", "More than" + std::to_string(maxTeeth) + " teeth in file; file must be split");
            res.outcome = MultiReadOutcome::TooMany;
            return res;
        }
        res.parts = file.split(maxTeeth, FindRootDir(path) + FindBaseFilename(path));
        prompt.message("", "File split - use split files for viewing.");
        res.outcome = MultiReadOutcome::Split;
        return res;
    }

    MultiToothStore fresh;
    fresh.generation = store.generation + 1;
    fresh.params.reserve(static_cast<std::size_t>(teeth));
    fresh.grids.reserve(static_cast<std::size_t>(teeth));
    fresh.zmin.reserve(static_cast<std::size_t>(teeth));
    fresh.zmax.reserve(static_cast<std::size_t>(teeth));
    CurrentGrid g;
    g.sizeMode = store.lattice.sizeMode;
    g.folder = FindRootDir(path);
    g.baseName = FindBaseFilename(path);
    g.path = path;
    g.stem = g.folder + g.baseName;
    OncePrompt once(prompt);
    formats::ToothRecord rec;
    bool stopped = false;
    for (long t = 1; t <= teeth; ++t) {
        if (progress.stopRequested()) {
            stopped = true;
            break;
        }
        file.readTooth(t, rec);
        fresh.params.push_back(rec.params);
        double zmin = 0, zmax = 0;
        LatticeGrid grid;
        if (!rec.passedOver) {
            CalcGridExtent(rec.points, true, g);
            zmin = g.zmin;
            zmax = g.zmax;
            const long before = once.count;
            if (FillGridFromPointsX(rec.points, opts.size, g, once).done) {
                grid = static_cast<const LatticeGrid&>(g);
                if (once.count != before) ++res.gridErrors;
            }
            if (zmin < fresh.allZmin) fresh.allZmin = zmin;
            if (zmax > fresh.allZmax) fresh.allZmax = zmax;
        }
        fresh.grids.push_back(std::move(grid));
        fresh.zmin.push_back(zmin);
        fresh.zmax.push_back(zmax);
        fresh.toothCount = t;
        if ((t & 63) == 0) progress.step(t, teeth);
        // The count read so far, for the window (often enough to follow, not per tooth
        // of a file of thousands).
        if (t == 1 || t == teeth || (t & 15) == 0)
            progress.status("Tooth " + std::to_string(t) + " / " + std::to_string(teeth));
    }
    g.cells.clear();
    g.filled.clear();
    fresh.lattice = std::move(g);
    store = std::move(fresh);
    if (stopped) {
        res.outcome = MultiReadOutcome::Stopped;
        return res;
    }
    progress.step(teeth, teeth);
    res.slider = ToothSlider::forTeeth(teeth);
    res.outcome = MultiReadOutcome::Done;
    return res;
}

void CopyMultiCSVtoCSV(const MultiToothStore& store, long t, bool sameGreyScale, CurrentGrid& current) {
    if (t < 1 || t > store.toothCount) throw Error("There is no tooth " + std::to_string(t));
    const LatticeGrid& tooth = store.grids[static_cast<std::size_t>(t - 1)];
    const CurrentGrid& l = store.lattice;
    current.nx = l.nx;
    current.ny = l.ny;
    current.xstep = l.xstep;
    current.ystep = l.ystep;
    current.xmin = l.xmin;
    current.ymin = l.ymin;
    current.xmax = l.xmax;
    current.ymax = l.ymax;
    current.zminBeforeRezero = l.zminBeforeRezero;
    current.xlo = l.xlo;
    current.ylo = l.ylo;
    current.xhi = l.xhi;
    current.yhi = l.yhi;
    current.sizeMode = l.sizeMode;
    current.folder = l.folder;
    current.baseName = l.baseName;
    current.path = l.path;
    current.stem = l.stem;
    current.cols = tooth.cols;
    current.rows = tooth.rows;
    current.cells = tooth.cells;
    current.filled = tooth.filled;
    current.zmin = sameGreyScale ? store.allZmin : store.zmin[static_cast<std::size_t>(t - 1)];
    current.zmax = sameGreyScale ? store.allZmax : store.zmax[static_cast<std::size_t>(t - 1)];
}

std::vector<std::string> toothParamTexts(const MultiToothStore& store, long t) {
    std::vector<std::string> out;
    for (double v : store.params[static_cast<std::size_t>(t - 1)]) out.push_back(text::CStr(v));
    return out;
}

long ViewMultiTeeth(const ViewTeethOptions& opts, std::optional<long> sliderTooth, const MultiToothStore& store,
                    ToothViewState& state, CurrentGrid& current, Progress& progress,
                    const std::function<void(long, bool)>& show) {
    if (sliderTooth) {
        state.currentTooth = *sliderTooth;
        state.viewFirst = state.viewLast = static_cast<double>(*sliderTooth);
    } else {
        switch (opts.choice) {
        case ViewTeethChoice::All:
            state.viewFirst = 1;
            state.viewLast = static_cast<double>(store.toothCount);
            break;
        case ViewTeethChoice::Range:
            state.viewFirst = text::Val(opts.start);
            state.viewLast = static_cast<double>(text::CInt(text::Val(opts.end)));
            break;
        case ViewTeethChoice::One:
            state.viewFirst = text::Val(opts.one);
            state.viewLast = static_cast<double>(text::CInt(text::Val(opts.one)));
            break;
        case ViewTeethChoice::None: break;
        }
    }
    if (!(1 <= state.viewFirst && state.viewFirst <= state.viewLast &&
          state.viewLast <= static_cast<double>(store.toothCount)))
        return 0;
    long shown = 0;
    const long first = static_cast<long>(text::CInt(state.viewFirst));
    const long last = static_cast<long>(state.viewLast);
    for (long t = first; t <= last; ++t) {
        if (progress.stopRequested()) break;
        const bool present = store.present(t);
        if (present) CopyMultiCSVtoCSV(store, t, opts.sameGreyScale, current);
        if (show) show(t, present);
        state.lastShown = t;
        ++shown;
        progress.step(t - first + 1, last - first + 1);
    }
    return shown;
}

} // namespace trelvik::csvview
