#include "planes/landstats.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/resultscsv.h"
#include "planes/toothlength.h"
#include "shell/savefilerules.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace trelvik::planes {

namespace {

double sq(double v) { return v * v; }

std::string quoted(const std::string& s) { return "\"" + s + "\""; }
std::string bare(double v) { return text::CStr(v); }
std::string bare(const std::optional<double>& v) { return v ? text::CStr(*v) : std::string(); }

std::string row(std::initializer_list<std::string> fields) {
    std::string out;
    bool first = true;
    for (const std::string& f : fields) {
        if (!first) out += ',';
        first = false;
        out += f;
    }
    return out;
}

bool sameFolderText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char p, char q) {
               return std::tolower(static_cast<unsigned char>(p)) == std::tolower(static_cast<unsigned char>(q));
           });
}

} // namespace

LandmarkStats ComputeLandmarkStats(const std::vector<std::vector<double>>& x,
                                   const std::vector<std::vector<double>>& y,
                                   const std::vector<std::vector<double>>& z,
                                   const std::vector<std::vector<double>>& d, const std::vector<double>& sliceLength) {
    LandmarkStats st;
    st.n = x.size();
    st.L = st.n ? x[0].size() : 0;
    const std::size_t n = st.n, L = st.L;
    if (n == 0 || L == 0) throw Error("There are no landmark trials to summarise.");
    const double dn = static_cast<double>(n);
    st.MeanX.assign(L, 0);
    st.MeanY.assign(L, 0);
    st.MeanZ.assign(L, 0);
    st.meanD.assign(L, 0);
    for (auto* v : {&st.varX, &st.varY, &st.varZ, &st.sdX, &st.sdY, &st.sdZ, &st.aveVar, &st.aveSD, &st.sdD})
        v->assign(L, std::nullopt);
    for (std::size_t k = 0; k < L; ++k) {
        double sx = 0, sy = 0, sz = 0, sd = 0;
        for (std::size_t i = 0; i < n; ++i) {
            sx += x[i][k];
            sy += y[i][k];
            sz += z[i][k];
            sd += d[i][k];
        }
        st.MeanX[k] = sx / dn;
        st.MeanY[k] = sy / dn;
        st.MeanZ[k] = sz / dn;
        st.meanD[k] = sd / dn;
        if (n == 1) continue;
        double vx = 0, vy = 0, vz = 0, e = 0, vd = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double dx2 = sq(x[i][k] - st.MeanX[k]), dy2 = sq(y[i][k] - st.MeanY[k]),
                         dz2 = sq(z[i][k] - st.MeanZ[k]);
            vx += dx2;
            vy += dy2;
            vz += dz2;
            e += dx2 + dy2 + dz2;
            vd += sq(d[i][k] - st.meanD[k]);
        }
        st.varX[k] = vx / (dn - 1);
        st.varY[k] = vy / (dn - 1);
        st.varZ[k] = vz / (dn - 1);
        st.sdX[k] = std::sqrt(*st.varX[k]);
        st.sdY[k] = std::sqrt(*st.varY[k]);
        st.sdZ[k] = std::sqrt(*st.varZ[k]);
        // The combined spread is divided by the landmark count as well, as the results
        // files this table is compared with have always been.
        st.aveVar[k] = e / ((dn - 1) * static_cast<double>(L));
        st.aveSD[k] = std::sqrt(*st.aveVar[k]);
        st.sdD[k] = std::sqrt(vd / (dn - 1));
    }
    st.dist.assign(L, std::vector<double>(L, 0));
    for (std::size_t k = 0; k < L; ++k)
        for (std::size_t m = 0; m < L; ++m)
            st.dist[k][m] =
                std::sqrt(sq(st.MeanX[k] - st.MeanX[m]) + sq(st.MeanY[k] - st.MeanY[m]) + sq(st.MeanZ[k] - st.MeanZ[m]));
    double ss = 0;
    for (std::size_t i = 0; i < n; ++i) ss += sliceLength[i];
    st.meanS = ss / dn;
    if (n > 1) {
        double vs = 0;
        for (std::size_t i = 0; i < n; ++i) vs += sq(sliceLength[i] - st.meanS);
        st.sdS = std::sqrt(vs / (dn - 1));
    }
    for (std::size_t k = 0; k + 1 < L; ++k) st.pathLength += st.dist[k][k + 1];
    return st;
}

std::vector<std::string> LandmarkResultsLines(const LandmarkStats& st) {
    std::vector<std::string> lines;
    const std::size_t L = st.L;
    lines.push_back(quoted("Landmark, x_mean, x_variance, x_sd, y_mean, y_variance, y_sd, z_mean, z_variance, "
                           "z_sd, ave_variance, ave_sd"));
    for (std::size_t k = 0; k < L; ++k)
        lines.push_back(row({quoted(std::to_string(k + 1)), bare(st.MeanX[k]), bare(st.varX[k]), bare(st.sdX[k]),
                             bare(st.MeanY[k]), bare(st.varY[k]), bare(st.sdY[k]), bare(st.MeanZ[k]),
                             bare(st.varZ[k]), bare(st.sdZ[k]), bare(st.aveVar[k]), bare(st.aveSD[k])}));
    lines.push_back(quoted("Direct distances between means of landmarks"));
    for (std::size_t k = 0; k < L; ++k)
        for (std::size_t m = k + 1; m < L; ++m)
            lines.push_back(row({quoted(std::to_string(k + 1)), quoted("to"), std::to_string(m + 1), bare(st.dist[k][m])}));
    // "±" in the single-byte code page of the results files.
    lines.push_back(quoted("Mean \xB1 SD 2D distances between landmarks"));
    for (std::size_t m = 1; m < L; ++m)
        lines.push_back(row({quoted("1     to"), std::to_string(m + 1), bare(st.meanD[m]), bare(st.sdD[m])}));
    lines.push_back(quoted("Mean \xB1 SD 3D distances along surface between first and last landmarks"));
    lines.push_back(row({quoted("1     to  "), std::to_string(L), bare(st.meanS), bare(st.sdS)}));
    lines.push_back(quoted("Mean 3D distances between all landmarks from first to last landmark"));
    lines.push_back(bare(st.pathLength));
    return lines;
}

bool Calculate(LandFindState& s, Prompt& prompt, const CalculateInput& in) {
    BusyScope busy(prompt);
    if (in.Text3 == "*.txt" || in.Text3.empty()) return refuse(prompt, "Filename", "Choose results filename");
    const std::size_t n = static_cast<std::size_t>(std::max(s.TrialCount, 0));
    if (!s.Sliced || n == 0 || s.LandmarkZ.size() != n)
        return refuse(prompt, "Landmark",
                      "Add the trial files, convert them and slice the grid before calculating.");
    const std::size_t L = static_cast<std::size_t>(s.LandmarkCount);
    if (L < 2)
        return refuse(prompt, "Landmark",
                      "The trials hold " + std::to_string(L) + " landmark; the distances need at least two.");
    std::vector<MissingHeight> missing;
    std::vector<std::vector<double>> z(n, std::vector<double>(L)), d(n, std::vector<double>(L));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < L; ++k) {
            if (!s.LandmarkZ[i][k] || !s.LandmarkDist[i][k]) {
                missing.push_back({static_cast<int>(i + 1), static_cast<int>(k + 1), s.LandmarkDist[i][k].has_value()});
                continue;
            }
            z[i][k] = *s.LandmarkZ[i][k];
            d[i][k] = *s.LandmarkDist[i][k];
        }
    if (!missing.empty()) return refuse(prompt, "Landmark", DescribeMissingHeights(missing));

    const LandmarkStats st = ComputeLandmarkStats(s.LandmarkX, s.LandmarkY, z, d, s.SliceLength);
    if (sameFolderText(in.Text3, in.dir3Path)) return refuse(prompt, "Landmark", "Please select output file");

    const std::string results = joinFolder(in.folder, in.Text3);
    const std::string toothLength = joinFolder(s.TrialFolder, s.GridBaseName + "_tl.txt");
    // A length that cannot be stored refuses the step before the results are replaced.
    if (in.chkToothLength) storedToothLength(toothLength, st.dist[0][1]);
    // The table and the tooth length go in place together: Cusp volume and Rake read the
    // length as the one of these results.
    StagedFiles staged;
    staged.naming([&] {
        formats::writeResultsTable(staged.work(results), LandmarkResultsLines(st));
        if (in.chkToothLength) writeToothLengthFile(staged.work(toothLength), st.dist[0][1]);
    });
    staged.commit();
    s.MeanX = st.MeanX;
    s.MeanY = st.MeanY;
    s.MeanZ = st.MeanZ;
    s.ResultsPath = results;
    return true;
}

} // namespace trelvik::planes
