#pragma once
// Landmark statistics and the tooth length: the "Calculate" tab of the "Landmark data"
// window.
//
// Input: n trials of L landmarks (x, y from the trial files, z and the distance along
// the trial's slice line from the slice), and the 3-D length of each trial's slice.
// Per landmark k: the mean position over the trials; the sample variances and standard
// deviations in x, y and z (divisor n - 1); aveVar(k), the sum over the trials of the
// squared 3-D deviation from the mean divided by (n - 1) x L, and its square root; the
// mean and standard deviation of the distance along the slice line. Between landmarks:
// the 3-D distance between mean positions, and the length of the path through the mean
// landmarks in their order. Over the trials: mean and standard deviation of the slice
// length. With n = 1 every spread is empty.
//
// Output: the results table (comma-separated, texts quoted, numbers bare, CR LF, "±"
// as the single byte 0xB1) and, on request, the tooth-length file GridBaseName &
// "_tl.txt" in the trial folder with the distance between mean landmarks 1 and 2; the
// two go in place together.
// Calculate refuses, with a message and without writing, when the trials have not been
// sliced, when there are fewer than two landmarks, or when a landmark has no height.
#include "core/prompt.h"
#include "planes/landfind.h"

#include <optional>
#include <string>
#include <vector>

namespace trelvik::planes {

struct LandmarkStats {
    std::size_t n = 0, L = 0;
    std::vector<double> MeanX, MeanY, MeanZ, meanD;
    // Empty with one trial.
    std::vector<std::optional<double>> varX, varY, varZ, sdX, sdY, sdZ, aveVar, aveSD, sdD;
    std::vector<std::vector<double>> dist;  // [k][m], 3-D distance between mean landmarks
    double meanS = 0;
    std::optional<double> sdS;
    double pathLength = 0;  // sum of dist(k, k + 1)
};

// x, y, z, d are [trial][landmark]; every trial holds at least L = x[0].size() values.
LandmarkStats ComputeLandmarkStats(const std::vector<std::vector<double>>& x,
                                   const std::vector<std::vector<double>>& y,
                                   const std::vector<std::vector<double>>& z,
                                   const std::vector<std::vector<double>>& d, const std::vector<double>& sliceLength);

// The results table's lines, without line ends.
std::vector<std::string> LandmarkResultsLines(const LandmarkStats& st);

struct CalculateInput {
    std::string Text3;        // results file name
    std::string folder;       // Label3's folder
    std::string dir3Path;     // the folder list's path
    bool chkToothLength = false;
};

// Returns true when the results were written; false after a message.
bool Calculate(LandFindState& s, Prompt& prompt, const CalculateInput& in);

} // namespace trelvik::planes
