#pragma once
// The viewer's multi-tooth store: every tooth of a multi-tooth file as its own small
// lattice grid, read once, then shown one tooth at a time.
//
// Reading: each tooth's heights are negated and shifted so that its lowest is 0
// (the "Original model file" rule), its grid built by the size option, and its
// height range kept (zmin(t) = 0, zmax(t)); allZmin/allZmax span all teeth. A tooth
// is present when its grid has a filled cell; a tooth passed over by the file (three
// points or fewer) is absent and shows as a blank picture. A file with more teeth
// than MaxTeeth is split into parts or refused. Esc (Progress::stopRequested) ends
// the read before the next tooth, keeping the teeth read so far. While it reads, the
// status shows "Tooth t / teeth" (the first, every 16th and the last tooth).
// Viewing: a range of teeth (all, from..to, one) or the slider's tooth alone; each
// tooth shown becomes the current grid, whose grey range is its own or all teeth's.
#include "core/progress.h"
#include "core/prompt.h"
#include "csvview/latticegrid.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trelvik::csvview {

struct MultiToothStore {
    long toothCount = 0;
    std::vector<std::array<double, 11>> params;  // ToothParams(t, 1..11) at [t-1][0..10]
    std::vector<LatticeGrid> grids;              // tooth t at [t-1]; empty when passed over
    std::vector<double> zmin, zmax;              // per tooth, after re-zeroing
    double allZmin = 1e10, allZmax = -1e10;
    CurrentGrid lattice;       // the last tooth built: steps, limits, names (no cells)
    std::uint64_t generation = 0;  // changes with every read, so results can tell their teeth

    bool present(long t) const;
    int nx(long t) const { return grids[static_cast<std::size_t>(t - 1)].cols; }
    int ny(long t) const { return grids[static_cast<std::size_t>(t - 1)].rows; }
    // Reorders every per-tooth field so that position k holds the tooth at order[k] (0-based).
    void reorder(const std::vector<long>& order);
};

// The tooth slider: range 1..teeth, ticks 10^(Round(log10 teeth) - 1) as a whole number.
struct ToothSlider {
    long min = 1, max = 1, tickFrequency = 0, value = 1;
    static ToothSlider forTeeth(long teeth);
    // Tooth put in view by a key: Home (36) the first, End (35) the last; others none.
    std::optional<long> keyDown(int keyCode) const;
};

struct MultiToothReadOptions {
    std::string folder;             // Dir1's path
    std::string fileName;           // Text1
    std::string maxTeeth = "10000"; // txtMTAIF
    bool split = true;              // chkSplitMTAIF
    SizeOption size = SizeOption::Minimum;
};

enum class MultiReadOutcome { Refused, TooMany, Split, Stopped, Done };

struct MultiToothReadResult {
    MultiReadOutcome outcome = MultiReadOutcome::Refused;
    long teethInFile = 0;
    std::vector<std::string> parts;  // Split: the part files written
    ToothSlider slider;              // Done: the slider's settings; the current tooth is its value
    long gridErrors = 0;             // teeth whose lattice step could not be found
};

// "Read multi- tooth file". Messages: "Choose csv filename" (title "Filename"), the
// "More than ..." refusal, "File split - use split files for viewing.", one "Error"
// for teeth without a lattice step. Malformed files throw trelvik::Error naming the
// file and line; `store` then keeps its previous teeth.
MultiToothReadResult ReadMultiToothFile(const MultiToothReadOptions& opts, MultiToothStore& store, Prompt& prompt,
                                        Progress& progress);

// Tooth t into the current grid: its cells and size; zmin/zmax its own or all teeth's.
// Steps, limits and names stay those of the store's lattice.
void CopyMultiCSVtoCSV(const MultiToothStore& store, long t, bool sameGreyScale, CurrentGrid& current);

// txtParam(1..11) of tooth t, up to 15 significant digits.
std::vector<std::string> toothParamTexts(const MultiToothStore& store, long t);

enum class ViewTeethChoice { All, Range, One, None };

struct ViewTeethOptions {
    ViewTeethChoice choice = ViewTeethChoice::All;
    std::string start = "1", end, one;  // txtViewTeethStart, txtViewTeethEnd, txtViewTeethOne
    bool sameGreyScale = false;         // chkZScaleAllT
};

struct ToothViewState {
    double viewFirst = 0, viewLast = 0;
    long currentTooth = 0;  // the slider's tooth
    long lastShown = 0;
};

// "View multi-teeth" (sliderTooth empty) or a slider step (sliderTooth = the tooth:
// only that tooth is shown). For each tooth t, `current` becomes it (when present)
// and show(t, present) is called for the window to draw it or blank the view.
// Returns the number of teeth shown; stops before the next tooth on Esc.
long ViewMultiTeeth(const ViewTeethOptions& opts, std::optional<long> sliderTooth, const MultiToothStore& store,
                    ToothViewState& state, CurrentGrid& current, Progress& progress,
                    const std::function<void(long, bool)>& show);

} // namespace trelvik::csvview
