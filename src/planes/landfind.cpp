#include "planes/landfind.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/surfergrid.h"
#include "planes/landfindslice.h"
#include "shell/savefilerules.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace trelvik::planes {

namespace {

// Whole number of a typed count; 0 for nothing usable (no number, below 1, absurdly large).
int typedCount(const std::string& text) {
    const double v = text::Val(text);
    if (!(v >= 0.5 && v <= 32767)) return 0;
    return static_cast<int>(text::CInt(v));
}

// Anything built from the earlier list (slice lines, heights, means) no longer belongs
// to the trials once the list changes.
void forgetDerived(LandFindState& s) {
    s.LandmarkCount = 0;
    s.SliceLineFiles.clear();
    s.LandmarkX.clear();
    s.LandmarkY.clear();
    s.LandmarkZ.clear();
    s.LandmarkDist.clear();
    s.SliceFiles.clear();
    s.HeightFiles.clear();
    s.SliceLength.clear();
    s.Sliced = false;
    s.MeanX.clear();
    s.MeanY.clear();
    s.MeanZ.clear();
    s.ResultsPath.clear();
}

std::string numbered(const std::string& stem, std::size_t i, const std::string& ext) {
    return stem + std::to_string(i + 1) + ext;
}

} // namespace

LandFindLabels ResetLandFind(LandFindState& s) {
    s.TrialCount = 0;
    s.FirstAdd = true;
    return {};
}

std::optional<AddedTrial> DatFilename(LandFindState& s, Prompt& prompt, const std::string& text5,
                                      const std::string& text1, const std::string& folder) {
    BusyScope busy(prompt);
    s.TrialCount = typedCount(text5);
    if (text1 == "*.dat" || text1.empty()) {
        refuse(prompt, "Filename", "Choose dat filename");
        return std::nullopt;
    }
    if (s.TrialCount == 0) {
        refuse(prompt, "Dat files",
               "Please enter number of blanking files\n" +
                   text::BoxFault("No. of data files", text5, "a whole number from 1 to 32767"));
        return std::nullopt;
    }
    const auto n = static_cast<std::size_t>(s.TrialCount);
    if (s.FirstAdd) {
        s.TrialsAdded = 1;
        s.FirstAdd = false;
        s.TrialFiles.assign(n, "");
    } else {
        if (s.TrialsAdded >= s.TrialCount) {
            // A smaller count typed after the adds shortens the list to it.
            if (s.TrialFiles.size() > n) {
                s.TrialFiles.resize(n);
                s.TrialsAdded = s.TrialCount;
                forgetDerived(s);
            }
            refuse(prompt, "Dat files",
                   "All " + std::to_string(s.TrialCount) +
                       " trial files have been added. Press Reset on the Calculate tab to start a new list, or raise the "
                       "number of data files.");
            return std::nullopt;
        }
        ++s.TrialsAdded;
        s.TrialFiles.resize(n);
    }
    forgetDerived(s);
    s.TrialFolder = folder;
    s.TrialFiles[static_cast<std::size_t>(s.TrialsAdded - 1)] = joinFolder(folder, text1);
    return AddedTrial{text1, TrialCounter(s)};
}

std::string ConvertedTrialsNote(const LandFindState& s, const std::string& text5) {
    const int typed = typedCount(text5);
    const auto converted = s.TrialFiles.size();
    if (typed == 0 || static_cast<std::size_t>(typed) == converted) return "";
    return "Converted the " + std::to_string(converted) + (converted == 1 ? " trial" : " trials") +
           " added: \"No. of data files\" is read when a trial is added, so the " + std::to_string(typed) +
           " it shows now takes effect at the next \"Add .dat  filename\".";
}

std::string TrialCounter(const LandFindState& s) {
    if (s.FirstAdd) return "0/0";
    return " " + std::to_string(s.TrialsAdded) + "/ " + std::to_string(s.TrialFiles.size());
}

std::string LastTrialName(const LandFindState& s) {
    if (s.FirstAdd || s.TrialsAdded < 1 || static_cast<std::size_t>(s.TrialsAdded) > s.TrialFiles.size()) return "";
    return std::filesystem::path(s.TrialFiles[static_cast<std::size_t>(s.TrialsAdded - 1)]).filename().string();
}

long BlnConvert(LandFindState& s, const std::string& text5) {
    const auto n = static_cast<std::size_t>(std::max(s.TrialCount, 0));
    std::size_t added = 0;
    for (const std::string& f : s.TrialFiles) added += f.empty() ? 0 : 1;
    if (n == 0 || s.TrialFiles.size() != n || added != n) {
        // The count named is the one the box shows now; the list took its length from the
        // box at the last add, and keeps it when nothing usable is typed.
        const auto typed = static_cast<std::size_t>(typedCount(text5));
        const std::size_t wanted = typed > 0 ? typed : n;
        if (n == 0) added = 0;
        if (wanted == 0)
            throw Error("Enter the number of trial files under \"No. of data files\" and add them with \"Add .dat  "
                        "filename\" before converting them (0 added).");
        if (wanted <= added)
            throw Error("The list holds " + std::to_string(added) + " of the " + std::to_string(n) +
                        " trial files asked for at the last add: press \"Add .dat  filename\" to end it at the " +
                        std::to_string(wanted) + " in \"No. of data files\", or add the others.");
        throw Error("Add all " + std::to_string(wanted) + " trial file" + (wanted == 1 ? "" : "s") +
                    " before converting " + (wanted == 1 ? "it" : "them") + " (" + std::to_string(added) + " added).");
    }

    std::vector<formats::PointXYList> trials(n);
    for (std::size_t i = 0; i < n; ++i) trials[i] = formats::readDigitisePoints(s.TrialFiles[i]);
    const std::size_t L = trials[0].size();
    for (std::size_t i = 1; i < n; ++i)
        if (trials[i].size() < L)
            throw Error("The trial file " + s.TrialFiles[i] + " holds " + std::to_string(trials[i].size()) +
                        " points; the first trial file holds " + std::to_string(L) + " landmarks.");

    forgetDerived(s);
    // Slice grid reads the lines as one set: they go in place together.
    StagedFiles staged;
    std::vector<std::string> lines(n);
    std::vector<std::vector<double>> X(n), Y(n);
    for (std::size_t i = 0; i < n; ++i) {
        trials[i].resize(L);
        for (const auto& p : trials[i]) {
            X[i].push_back(p.x);
            Y[i].push_back(p.y);
        }
        lines[i] = joinFolder(s.TrialFolder, numbered("tempbln", i, ".bln"));
        staged.naming([&] {
            formats::writeBlnFile(staged.work(lines[i]), {formats::openLine(trials[i], 0)}, formats::BlnLayout::Comma);
        });
    }
    staged.commit();
    s.SliceLineFiles = std::move(lines);
    s.LandmarkX = std::move(X);
    s.LandmarkY = std::move(Y);
    s.LandmarkCount = static_cast<long>(L);
    return s.LandmarkCount;
}

SliceMatch MatchLandmarks(const std::vector<double>& x, const std::vector<double>& y,
                          const std::vector<formats::SlicePoint>& slice, double tolerance) {
    SliceMatch m;
    const std::size_t L = std::min(x.size(), y.size());
    m.z.assign(L, std::nullopt);
    m.dist.assign(L, std::nullopt);
    m.blank.assign(L, false);
    m.record.assign(L, -1);
    for (std::size_t k = 0; k < L; ++k) {
        double best = tolerance;
        for (std::size_t j = 0; j < slice.size(); ++j) {
            const double d = std::hypot(slice[j].x - x[k], slice[j].y - y[k]);
            if (d < best || (d == best && m.record[k] < 0)) {  // the first of equals wins
                best = d;
                m.record[k] = static_cast<long>(j);
                if (d == 0) break;
            }
        }
        if (m.record[k] < 0) continue;
        const formats::SlicePoint& p = slice[static_cast<std::size_t>(m.record[k])];
        m.dist[k] = p.distance;
        if (p.blank()) m.blank[k] = true;
        else m.z[k] = p.z;
    }
    // The blank value is no height: a segment that has one at either end is not part of
    // the surface and adds nothing.
    for (std::size_t j = 0; j + 1 < slice.size(); ++j) {
        const auto& a = slice[j];
        const auto& b = slice[j + 1];
        if (a.blank() || b.blank()) continue;
        m.sliceLength += std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
    }
    return m;
}

std::string DescribeMissingHeights(const std::vector<MissingHeight>& missing) {
    std::string text = "These landmarks have no height on the grid; digitise them again inside the tooth "
                       "before calculating:";
    for (const MissingHeight& m : missing)
        text += "\r\ntrial " + std::to_string(m.trial) + ", landmark " + std::to_string(m.landmark) + ": " +
                (m.blank ? "on a blank part of the grid or outside it" : "not on its slice line");
    return text;
}

std::optional<std::string> SliceGrid(LandFindState& s, AppState& app, Prompt& prompt, const std::string& text2,
                                     const std::string& folder, Progress& progress) {
    BusyScope busy(prompt);
    if (text2 == "*.grd" || text2.empty()) {
        refuse(prompt, "Filename", "Choose grid filename");
        return std::nullopt;
    }
    const auto n = static_cast<std::size_t>(std::max(s.TrialCount, 0));
    if (s.LandmarkCount < 1 || s.SliceLineFiles.size() != n || n == 0)
        throw Error("Convert the trial files to slice lines (\"Convert to .bln\") before slicing the grid.");

    const std::string gridPath = joinFolder(folder, text2);
    const std::string base = text2.size() > 4 ? text2.substr(0, text2.size() - 4) : std::string();
    const Grid grid = formats::readSurferGrid(gridPath);
    // Attached only once nothing is missing: attaching shows the map window, which a
    // refusal would leave in front with the focus.
    s.m_Surfer = AttachSurfer(app);
    const double spacing = std::min(grid.xSpacing(), grid.ySpacing());
    // Vertices come back from the slice as written, to 15 digits; a thousandth of a node
    // spacing tells a landmark from any other slice point without relying on equal doubles.
    const double tolerance = spacing > 0 ? 1e-3 * spacing : 1e-9 * std::max(1.0, std::fabs(grid.xMin));

    const auto L = static_cast<std::size_t>(s.LandmarkCount);
    std::vector<std::string> sliceFiles(n), heightFiles(n);
    std::vector<std::vector<std::optional<double>>> Z(n), D(n);
    std::vector<double> lengths(n);
    std::vector<MissingHeight> missing;
    const auto trials = static_cast<long long>(n);
    // Esc is taken only before a trial begins: a trial begun is finished.
    auto trialStep = [&](const char* what, std::size_t i, long long done) {
        if (done > 0 && done % 2 == 0 && progress.stopRequested())
            throw Stopped("\"Slice grid\" was stopped (Esc) before trial " + std::to_string(i + 1) + " of " +
                          std::to_string(n) + ": the files written so far are kept; slice the grid again.");
        progress.status(std::string(what) + " trial " + std::to_string(i + 1) + " of " + std::to_string(n));
        progress.step(done, 2 * trials);
    };
    // Each trial's slice and heights go in place together once it is matched: Esc between
    // two trials keeps the trials finished, each whole.
    for (std::size_t i = 0; i < n; ++i) {
        StagedFiles staged;
        trialStep("Slicing", i, 2 * static_cast<long long>(i));
        sliceFiles[i] = joinFolder(s.TrialFolder, numbered("tempdat", i, ".dat"));
        const std::string& sliced = staged.work(sliceFiles[i]);
        staged.naming([&] { GridSliceCall(*s.m_Surfer, app.SurferVersion, gridPath, s.SliceLineFiles[i], sliced); });
        trialStep("Matching", i, 2 * static_cast<long long>(i) + 1);
        std::vector<formats::SlicePoint> slice;
        staged.naming([&] { slice = formats::readSliceFile(sliced); });
        const SliceMatch m = MatchLandmarks(s.LandmarkX[i], s.LandmarkY[i], slice, tolerance);
        std::string heights, lines;
        for (std::size_t k = 0; k < L; ++k) {
            if (m.record[k] >= 0 && !m.blank[k]) {
                const auto& p = slice[static_cast<std::size_t>(m.record[k])];
                heights += text::WriteLine().num(p.x).num(p.y).num(p.z).str() + "\r\n";
            } else {
                missing.push_back({static_cast<int>(i + 1), static_cast<int>(k + 1), m.blank[k]});
            }
            text::WriteLine w;
            w.num(s.LandmarkX[i][k]).num(s.LandmarkY[i][k]);
            lines += m.z[k] ? text::WriteLine(w).num(*m.z[k]).str() : w.str() + ",";
            lines += "\r\n";
        }
        heightFiles[i] = joinFolder(s.TrialFolder, numbered("tempz", i, ".dat"));
        const std::string& trial = s.TrialFiles[i];
        staged.naming([&] {
            writeFileAtomic(staged.work(heightFiles[i]), heights);
            writeFileAtomic(staged.work(trial.substr(0, trial.size() >= 4 ? trial.size() - 4 : 0) + "z.dat"), lines);
        });
        staged.commit();
        Z[i] = m.z;
        D[i] = m.dist;
        lengths[i] = m.sliceLength;
    }

    s.GridPath = gridPath;
    s.GridBaseName = base;
    s.SliceFiles = std::move(sliceFiles);
    s.HeightFiles = std::move(heightFiles);
    s.LandmarkZ = std::move(Z);
    s.LandmarkDist = std::move(D);
    s.SliceLength = std::move(lengths);
    s.Sliced = true;
    s.MeanX.clear();
    s.MeanY.clear();
    s.MeanZ.clear();
    s.ResultsPath.clear();
    if (!missing.empty()) {
        prompt.busy(false);
        prompt.message("Landmark", DescribeMissingHeights(missing));
    }
    return base + "calcresults.csv";
}

} // namespace trelvik::planes
