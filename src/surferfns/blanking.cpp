#include "surferfns/blanking.h"

#include "core/commit/commit.h"
#include "core/digitiseinputs.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/surfergrid.h"
#include "shell/gridgeometry.h"
#include "surfer/application.h"
#include "surferfns/gridcalls.h"
#include "surferfns/plotsurfer.h"
#include "surferfns/regridxyz.h"

#include <algorithm>

namespace trelvik::surffns {

using formats::BlnLayout;
using formats::BlnSection;
using formats::PointXYList;
using surfer::Named;
using surfer::Positional;

namespace {

// A refusal of the user's digitise file, titled by its subject.
[[noreturn]] void refuseDigitiseFile(const Error& e) { throw Refusal("Filename", e.what()); }

// One closed section per area of the user's digitise file, flag 0 for Outside and 1
// for the modes that blank the inside. Multiple inside takes every area of a
// "-1"-separated file: saving in the map window after End group ends the file with a
// "-1" line, and that one closes the last area, not opens an empty one; an empty area
// anywhere else is refused. Outside and Inside blank by one outline and pass over
// "-1" lines that separate nothing, but refuse a second area rather than join the two
// into one crossing outline. An area of fewer than three points encloses nothing and is
// refused in every mode. Every fault of the file is refused under "Filename".
std::vector<BlnSection> areaSections(const std::string& digit, BlankMode mode) {
    try {
        std::vector<PointXYList> areas = formats::readDigitiseGroups(digit);
        if (mode == BlankMode::MultiInside) {
            if (areas.size() > 1 && areas.back().empty()) areas.pop_back();
        } else {
            std::erase_if(areas, [](const PointXYList& a) { return a.empty(); });
            if (areas.size() > 1)
                throw Error("The digitise file " + digit + " holds " + std::to_string(areas.size()) +
                            " areas separated by '-1' lines, but " +
                            (mode == BlankMode::Outside ? "Outside" : "Inside") +
                            " blanks by one outline. Choose \"Multiple inside (bubbles)\" to blank several "
                            "areas, or digitise one area.");
        }
        std::vector<BlnSection> sections;
        for (std::size_t a = 0; a < areas.size(); ++a) {
            if (areas[a].empty())
                throw Error("Area " + std::to_string(a + 1) + " of the digitise file " + digit +
                            " has no points (two '-1' lines together, or one at the start).");
            if (areas[a].size() < 3)
                throw Error("Area " + std::to_string(a + 1) + " of the digitise file " + digit + " has " +
                            std::to_string(areas[a].size()) + (areas[a].size() == 1 ? " point" : " points") +
                            ": an area needs at least three.");
            sections.push_back(formats::closedOutline(areas[a], mode == BlankMode::Outside ? 0 : 1));
        }
        return sections;
    } catch (const Error& e) {
        refuseDigitiseFile(e);
    }
}

class BlankRun {
public:
    BlankRun(SurfFnsContext& ctx, const BlankOptions& o) : ctx_(ctx), o_(o), codes_(TickedToothCodes(o.chkTeeth)) {}

    EntryResult entry(int i) {
        const SurfFnsState& s = ctx_.state;
        S_ = s.GridPathNoExt[i - 1];
        D_ = s.GridDir[i - 1];
        base_ = s.GridBaseName[i - 1];
        T_.reset();

        // Every file of the entry is made under a working name and put in place only once
        // the last grid call has succeeded and every blanked grid holds a height.
        StagedFiles staged;
        staged_ = &staged;
        EntryResult r = EntryResult::Done;
        if (o_.mode == BlankMode::MultiInside && o_.chkMultiBlankRegrid) r = regridOutlinePresent(i);
        if (r == EntryResult::Done) r = o_.chkBlankUseBlnFile ? fromExistingFiles(i) : fromDigitising(i);
        if (r != EntryResult::Done) return r;

        std::vector<std::string> grids;
        r = blankEntry(i, grids);
        if (r != EntryResult::Done) return r;
        staged.commit();
        toothGrids.insert(toothGrids.end(), grids.begin(), grids.end());
        if (o_.mode == BlankMode::MultiTeeth) {
            plotTeeth(i);
            return EntryResult::Skipped;  // the teeth were plotted in their own slots
        }
        return EntryResult::Done;
    }

    std::vector<std::string> toothGrids;  // ToothGridName(1..ToothGridCount)

    // Every entry's blanking files saved earlier, judged before the mapping program is
    // attached: attaching shows the map window, which a refusal would leave in front with
    // the focus. An entry whose name gives no T is passed over here; its turn reports it.
    bool earlierFilesPresent() const {
        const SurfFnsState& s = ctx_.state;
        if (!o_.chkBlankUseBlnFile && !regridsOutline()) return true;
        for (int i = 1; i <= s.NumFiles; ++i) {
            const std::string& S = s.GridPathNoExt[i - 1];
            const auto T = DelCharStem(S, s.GridBaseName[i - 1], o_.txtBlankDelChar);
            if (!T) continue;
            std::string refusal = regridsOutline() ? regridOutlineRefusal(*T) : std::string();
            if (refusal.empty() && o_.chkBlankUseBlnFile) refusal = existingFilesRefusal(i, S, *T);
            if (!refusal.empty()) {
                RefuseBlankingFile(ctx_, refusal);
                return false;
            }
        }
        return true;
    }

private:
    // The working name standing for `path` until the entry's files are put in place.
    const std::string& work(const std::string& path) { return staged_->work(path); }

    // False, with a refusal naming the grid, when the blanked grid `out` (a working
    // file) has no node with a height left: written, it would replace an earlier good
    // grid with one that shows nothing.
    bool keepsHeight(const std::string& in, const std::string& out, const std::string& how,
                     bool savedOutline = false) {
        if (formats::readSurferGrid(out).hasHeight()) return true;
        Refuse(ctx_, "", "Blanking " + in + " " + how + " leaves no node with a height: " +
                             (savedOutline || o_.chkBlankUseBlnFile ? "use an outline that lies on the tooth."
                              : o_.mode == BlankMode::MultiTeeth
                                  ? "digitise the borders across the teeth."
                                  : "digitise the area on the tooth."));
        return false;
    }

    // T, or a message and nothing when d cannot be taken off the base name.
    bool stem(int i) {
        if (T_) return true;
        T_ = DelCharStem(S_, base_, o_.txtBlankDelChar);
        if (!T_)
            Report(ctx_, "", "Del. no. char. \"" + o_.txtBlankDelChar + "\" cannot be taken off the name " + base_ +
                             " (file no. " + std::to_string(i) + "): it must be a number from 0 to " +
                             std::to_string(base_.size()) + ". The file is left out.");
        return T_.has_value();
    }

    double d() const { return text::Val(o_.txtBlankDelChar); }

    bool regridsOutline() const { return o_.mode == BlankMode::MultiInside && o_.chkMultiBlankRegrid; }

    // "Regrid and blank"'s outline saved earlier under T, as the batch refuses it, or "".
    static std::string regridOutlineRefusal(const std::string& T) {
        const std::string outline = T + "blnpts.bln";
        return inputRefusal(outline, "Check that blanking file " + outline + " is in correct directory.");
    }

    // The (earlier, own) blanking files "Use existing bln file" takes for stems S and T.
    std::vector<std::pair<std::string, std::string>> existingFiles(const std::string& S, const std::string& T) const {
        std::vector<std::pair<std::string, std::string>> files;
        if (o_.mode == BlankMode::MultiTeeth) {
            for (const std::string& code : codes_)
                files.emplace_back(T + "b-s" + code + "blnpts.bln", S + "-s" + code + "blnpts.bln");
        } else {
            files.emplace_back(T + "blnpts.bln", S + "blnpts.bln");
        }
        return files;
    }

    // The refusal of the first of them entry i would read that cannot be read, or "".
    std::string existingFilesRefusal(int i, const std::string& S, const std::string& T) const {
        for (const auto& [earlier, own] : existingFiles(S, T))
            if (std::string refusal = BlankingFileRefusal(i, d() > 0 ? earlier : own); !refusal.empty())
                return refusal;
        return {};
    }

    EntryResult fromExistingFiles(int i) {
        if (!stem(i)) return EntryResult::Skipped;
        const bool copy = d() > 0;
        const auto files = existingFiles(S_, *T_);
        // Every file is judged before the first copy: a refusal leaves the copies of an
        // earlier run as they were, and the list stays for another try once it is right.
        if (const std::string refusal = existingFilesRefusal(i, S_, *T_); !refusal.empty())
            return RefuseBlankingFile(ctx_, refusal);
        toothBln_.clear();
        for (const auto& [earlier, own] : files) {
            if (copy) copyFileReplacing(earlier, work(own));
            toothBln_.push_back(copy ? work(own) : own);
        }
        bln_ = toothBln_.front();
        return EntryResult::Done;
    }

    // "Regrid and blank" needs the outline saved earlier under T: looked for before the
    // user digitises, so a refusal writes nothing.
    EntryResult regridOutlinePresent(int i) {
        if (!stem(i)) return EntryResult::Skipped;
        if (const std::string refusal = regridOutlineRefusal(*T_); !refusal.empty())
            return RefuseBlankingFile(ctx_, refusal);
        return EntryResult::Done;
    }

    EntryResult fromDigitising(int i) {
        const std::string digit = D_ + "digit.dat";
        switch (o_.mode) {
        case BlankMode::Outside:
        case BlankMode::Inside: {
            if (!AskDigitise(ctx_, "Use 'Digitise' to digitise area of " + base_ + " to be blanked.", digit))
                return EntryResult::Stop;
            // Read before the working copy is written: a refused file leaves no copy,
            // nor replaces a good one from an earlier run.
            const std::vector<BlnSection> outline = areaSections(digit, o_.mode);
            copyFileReplacing(digit, work(S_ + "blnpts.dat"));
            bln_ = work(S_ + "blnpts.bln");
            formats::writeBlnFile(bln_, outline, BlnLayout::Zone);
            return EntryResult::Done;
        }
        case BlankMode::MultiInside: {
            if (!AskDigitise(ctx_, "Use 'Digitise' to digitise multiple areas of " + base_ +
                                       " to be blanked. Type '-1' between separate areas.",
                             digit))
                return EntryResult::Stop;
            // The areas are checked before the working copy is written: a refused file
            // leaves nothing behind.
            const std::vector<BlnSection> sections = areaSections(digit, o_.mode);
            copyFileReplacing(digit, work(S_ + "blnmpts.dat"));
            bln_ = work(S_ + "blnmpts.bln");
            formats::writeBlnFile(bln_, sections, BlnLayout::Zone);
            return EntryResult::Done;
        }
        case BlankMode::MultiTeeth:
            return toothStrips(i, digit);
        }
        return EntryResult::Done;
    }

    EntryResult toothStrips(int i, const std::string& digit) {
        const int n = static_cast<int>(codes_.size());
        if (!AskDigitise(ctx_, "Use 'Digitise' to digitise " + std::to_string(n - 1) + " borders between " +
                                   std::to_string(n) + " teeth of " + base_ +
                                   " from anterior to posterior. Draw borders from left to right and type '-1' "
                                   "between borders.",
                         digit))
            return EntryResult::Stop;
        // The borders are read and cut into strips before the working copy is written: a
        // refused file leaves no copy, nor replaces a good one from an earlier run.
        std::vector<PointXYList> borders;
        try {
            borders = formats::readDigitiseGroups(digit);
        } catch (const Error& e) {
            refuseDigitiseFile(e);
        }
        ReadGridGeometry(ctx_.app, ctx_.state.GridFullName[i - 1]);
        const AppState& g = ctx_.app;
        std::vector<BlnSection> strips;
        try {
            // A border of one point cuts nothing: the teeth on either side of it would get
            // a triangle from the grid's edge for an outline.
            const std::size_t needed = std::min(borders.size(), static_cast<std::size_t>(std::max(1, n - 1)));
            for (std::size_t b = 0; b < needed; ++b)
                if (borders[b].size() == 1)
                    throw Error("Border " + std::to_string(b + 1) + " of the border file " + digit +
                                " has 1 point: a border needs at least two, drawn from left to right.");
            strips = formats::toothStrips(borders, n, g.GridXMin, g.GridXMax, g.GridYMin, g.GridYMax, digit);
        } catch (const Error& e) {
            Report(ctx_, "Filename",
                   std::string(e.what()) + " File no. " + std::to_string(i) + " (" + base_ + ") is left out.");
            return EntryResult::Skipped;
        }
        std::string allCodes;
        for (const auto& c : codes_) allCodes += c;
        copyFileReplacing(digit, work(S_ + "-s" + allCodes + "bordblnmpts.dat"));
        toothBln_.clear();
        for (int t = 0; t < n; ++t) {
            toothBln_.push_back(work(S_ + "-s" + codes_[t] + "blnpts.bln"));
            formats::writeBlnFile(toothBln_.back(), {strips[t]}, BlnLayout::Zone);
        }
        return EntryResult::Done;
    }

    // Blanks the entry's grid into working files; `grids` gets the tooth grids' names.
    EntryResult blankEntry(int i, std::vector<std::string>& grids) {
        SurfFnsState& s = ctx_.state;
        const std::string& in = s.GridFullName[i - 1];
        if (o_.mode == BlankMode::MultiTeeth) {
            for (std::size_t t = 0; t < codes_.size(); ++t) {
                grids.push_back(S_ + "-s" + codes_[t] + "b.grd");
                GridBlankCall(ctx_, in, toothBln_[t], work(grids.back()));
                if (!keepsHeight(in, work(grids.back()), "outside the strip of tooth " + codes_[t]))
                    return EntryResult::Stop;
            }
            return EntryResult::Done;
        }
        s.OutGridName[i - 1] = S_ + (o_.mode == BlankMode::MultiInside ? "u.grd" : "b.grd");
        GridBlankCall(ctx_, in, bln_, work(s.OutGridName[i - 1]));
        const char* how = o_.mode == BlankMode::Outside ? "outside the outline" : "inside the outline";
        if (o_.mode == BlankMode::MultiInside) how = "inside the areas";
        if (!keepsHeight(in, work(s.OutGridName[i - 1]), how)) return EntryResult::Stop;
        if (o_.mode == BlankMode::MultiInside && o_.chkMultiBlankRegrid) return regridAndBlank(i);
        return EntryResult::Done;
    }

    // The "u" grid regridded on its own lattice from its unblanked nodes, then blanked
    // with the single outline saved earlier under T (found before anything was written).
    EntryResult regridAndBlank(int i) {
        const std::string earlier = *T_ + "blnpts.bln";
        SurfFnsState& s = ctx_.state;
        const std::string u = work(s.OutGridName[i - 1]);
        s.OutGridName[i - 1] = S_ + "ub.grd";
        // The XYZ dump and its regridding are scratch: made in a private folder that goes
        // with them, never over a file of the user's beside the grid.
        const PrivateFolder scratch("blank");
        const std::string tempDat = scratch.file(base_ + "temp.dat"), tempGrd = scratch.file(base_ + "temp.grd");

        ReadGridGeometry(ctx_.app, u);
        const AppState& g = ctx_.app;
        CallSurfer(ctx_, "GridConvert", Positional{u, tempDat, 3},
                   Named{{"InGrid", u}, {"OutGrid", tempDat}, {"OutFmt", 4}});
        GridDataLattice lattice;
        lattice.NumCols = g.GridCols;
        lattice.NumRows = g.GridRows;
        lattice.x0 = g.GridXMin;
        lattice.x1 = g.GridXMax;
        lattice.y0 = g.GridYMin;
        lattice.y1 = g.GridYMax;
        lattice.dx = g.GridXSpacing;
        lattice.dy = g.GridYSpacing;
        // Version 8 leaves the blank nodes out of the data; version 6 grids them all.
        GridDataCall(ctx_, tempDat, lattice, 2, "Z > 1E38", tempGrd);
        std::string own = S_ + "blnpts.bln";
        if (d() > 0) {
            own = work(own);
            copyFileReplacing(earlier, own);
        }
        GridBlankCall(ctx_, tempGrd, own, work(s.OutGridName[i - 1]));
        if (!keepsHeight(s.GridFullName[i - 1], work(s.OutGridName[i - 1]), "outside the outline " + earlier, true))
            return EntryResult::Stop;
        return EntryResult::Done;
    }

    void plotTeeth(int i) {
        if (!ctx_.chkPlotSurfer) return;
        SurfFnsState& s = ctx_.state;
        s.PlotType = ctx_.plot.PlotType;
        const int count = static_cast<int>(toothGrids.size());
        const int n = static_cast<int>(codes_.size());
        for (int t = 1; t <= n; ++t) {
            s.FileIndex = count - n + t;
            PlotSurfer(ctx_, toothGrids[static_cast<std::size_t>(*s.FileIndex - 1)], s.PlotType);
        }
        s.FileIndex = i;
    }

    SurfFnsContext& ctx_;
    const BlankOptions& o_;
    const std::vector<std::string> codes_;
    std::string S_, D_, base_, bln_;
    std::optional<std::string> T_;
    std::vector<std::string> toothBln_;
    StagedFiles* staged_ = nullptr;  // the files of the entry in hand
};

} // namespace

std::string BlankingFileRefusal(int entry, const std::string& path, const std::string& what) {
    return inputRefusal(path, "Check that " + what + " (file no. " + std::to_string(entry) + ") " + path +
                                  " is in correct directory.");
}

EntryResult RefuseBlankingFile(SurfFnsContext& ctx, const std::string& refusal) {
    Refuse(ctx, "", refusal);
    return EntryResult::Stop;
}

std::vector<std::string> TickedToothCodes(const std::array<bool, 12>& ticked) {
    std::vector<std::string> codes;
    for (std::size_t k = 0; k < ticked.size(); ++k)
        if (ticked[k]) codes.emplace_back(kToothCodes[k]);
    return codes;
}

BlankRunResult cmdBlank(SurfFnsContext& ctx, const BlankOptions& options) {
    BlankRunResult result;
    if (options.mode == BlankMode::MultiTeeth && TickedToothCodes(options.chkTeeth).empty()) {
        Refuse(ctx, "Values", "Tick at least one tooth for Multiple teeth.");
        result.outcome = BatchOutcome::Stopped;
        return result;
    }
    BlankRun run(ctx, options);
    ctx.batchStep = "blanking";
    // The skeleton checks every listed grid before the first "Digitise map" question or
    // blanking-file copy: a grid gone from disk would otherwise be found only by GridBlank,
    // after the user had digitised and the outline files of the grids before it were written.
    result.outcome = RunBatch(
        ctx, [&run](SurfFnsContext&, int i) { return run.entry(i); }, ClearRule::Always,
        [&run] { return run.earlierFilesPresent(); });
    result.ToothGridName = run.toothGrids;
    return result;
}

} // namespace trelvik::surffns
