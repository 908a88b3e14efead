#pragma once
// Landmark trials and their grid slices: the "Conversion" and "Slice grid" steps of the
// "Landmark data" window.
//
// The user digitises the same L landmarks of one tooth grid n times; each trial is a
// digitise file (x, y per line, the landmarks in the same order every time).
//   DatFilename  adds one trial file to the list of n (n typed as "No. of data files").
//   BlnConvert   L = the points of trial 1; every trial i becomes the open slice line
//                TrialFolder & "tempbln" & i & ".bln" through its first L points (comma
//                layout, header "L,0"); the lines go in place together.
//   SliceGrid    the mapping program slices the grid along every line into
//                TrialFolder & "tempdat" & i & ".dat"; every landmark is matched to the
//                slice point nearest to it within a thousandth of the grid's smaller
//                spacing, which gives its height and its distance along the line. Written:
//                TrialFolder & "tempz" & i & ".dat" (x, y, z of each matched point) and,
//                beside each trial file, its name less the last four characters & "z.dat"
//                (x, y, z per landmark, the z field left empty where there is no height).
//                SliceLength(i) is the 3-D length of trial i's whole slice, taken over
//                the segments whose both ends have a height.
// A landmark that matches no slice point, or whose point is blank, has no height; the
// step reports every such landmark, and the statistics refuse to run on them (an empty
// height is never counted as 0).
//
// Failures throw trelvik::Error (missing or short trial files, a missing grid, steps out
// of order, a failed slice) and leave the list as it was; the input messages of the
// window ("Choose dat filename" and the like) go through the Prompt.
#include "core/appstate.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "formats/slicefile.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace surfer { class Application; }

namespace trelvik::planes {

struct LandFindState {
    std::shared_ptr<surfer::Application> m_Surfer;
    std::string TrialFolder;  // folder of the trial files and of every file written
    int TrialCount = 0;       // n
    int TrialsAdded = 0;
    bool FirstAdd = true;
    std::vector<std::string> TrialFiles;  // n entries, empty until added
    long LandmarkCount = 0;               // L, 0 until BlnConvert
    std::vector<std::string> SliceLineFiles;
    // [trial][landmark]
    std::vector<std::vector<double>> LandmarkX, LandmarkY;
    std::vector<std::vector<std::optional<double>>> LandmarkZ, LandmarkDist;
    std::string GridPath, GridBaseName;
    std::vector<std::string> SliceFiles, HeightFiles;
    std::vector<double> SliceLength;
    bool Sliced = false;  // SliceGrid has run on the current slice lines

    // Left by Calculate for the distances to a plane.
    std::vector<double> MeanX, MeanY, MeanZ;
    std::string ResultsPath;
};

// Load and Reset: what the window shows afterwards.
struct LandFindLabels {
    std::string Text5 = "1", Label7 = "0/0", Label13 = "0", Text6 = "dat filename";
};
LandFindLabels ResetLandFind(LandFindState& s);

// Adds folder/Text1 as the next trial. Returns the new Text6 and Label7 (" i/ n"), or
// nothing after a message ("Choose dat filename", "Please enter number of blanking
// files", or the list is already full: Reset, on the Calculate tab, starts a new one).
struct AddedTrial {
    std::string Text6, Label7;
};
std::optional<AddedTrial> DatFilename(LandFindState& s, Prompt& prompt, const std::string& text5,
                                      const std::string& text1, const std::string& folder);

// The trial counter (Label7) for the list as it stands: " i/ n" for i trials added to a
// list of n (a list cut short by a smaller count counts to its new length), "0/0" before
// the first add.
std::string TrialCounter(const LandFindState& s);
// The name the "dat filename" box (Text6) shows for the list as it stands: the file name
// of the last trial in it, also of a list cut short by a smaller count; "" with none.
std::string LastTrialName(const LandFindState& s);

// Writes the slice lines; returns L. text5, the "No. of data files" box, gives the count a
// refusal of a list not yet full names (the list's own length when the box holds none).
long BlnConvert(LandFindState& s, const std::string& text5 = "");

// After BlnConvert, when "No. of data files" (text5) shows another count than the trials
// it converted: that it converted every trial added, the box being read at each add
// ("Converted the 3 trials added: ..."). Empty when the box agrees or holds no count.
std::string ConvertedTrialsNote(const LandFindState& s, const std::string& text5);

// One landmark without a height, as SliceGrid reports it.
struct MissingHeight {
    int trial = 0, landmark = 0;  // from 1
    bool blank = false;           // matched a blank slice point (else matched none)
};

// Attaches to the mapping program, slices and matches. Returns the results file name
// offered for Calculate (GridBaseName & "calcresults.csv"), or nothing after the
// "Choose grid filename" message. Landmarks without a height are reported through the
// prompt once the files are written.
// Each trial is sliced and matched in turn, and its three files go in place together.
// Progress: one step per trial sliced and per trial matched; Esc between two trials
// throws trelvik::Stopped, the trials finished so far kept and the state as it was.
std::optional<std::string> SliceGrid(LandFindState& s, AppState& app, Prompt& prompt, const std::string& text2,
                                     const std::string& folder, Progress& progress = noProgress());

// The matching and length rules of SliceGrid, for one trial.
struct SliceMatch {
    std::vector<std::optional<double>> z, dist;
    std::vector<bool> blank;     // matched a blank point
    std::vector<long> record;    // matched slice point (from 0), -1 for none
    double sliceLength = 0;
};
SliceMatch MatchLandmarks(const std::vector<double>& x, const std::vector<double>& y,
                          const std::vector<formats::SlicePoint>& slice, double tolerance);

std::string DescribeMissingHeights(const std::vector<MissingHeight>& missing);

} // namespace trelvik::planes
