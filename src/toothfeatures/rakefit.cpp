#include "toothfeatures/rakefit.h"

#include "core/error.h"
#include "core/grid.h"
#include "core/textform.h"
#include "toothfeatures/occvectstep.h"

#include <algorithm>
#include <cmath>

namespace trelvik::toothfeatures {

namespace {

// The number a box holds; anything else is refused rather than read as 0.
double boxNumber(const std::string& typed, const char* what) {
    const auto v = numberIn(typed);
    if (!v) throw Error(std::string(what) + " must be a number, not \"" + typed + "\".");
    return *v;
}

double positive(double v, const char* what) {
    if (!(v > 0)) throw Error(std::string(what) + " must be above 0 (it is " + text::CStr(v) + ").");
    return v;
}

// One table row per step: a count beyond this would only exhaust the memory.
constexpr double kMaxRakeRows = 100000;

// The steps, one table row each (rounded, halves to even): from 1 to kMaxRakeRows.
double rowBound(double steps, const char* what) {
    const double rows = text::Round(steps, 0);
    if (!(rows >= 1 && rows <= kMaxRakeRows))
        throw Error(std::string(what) + " gives " + text::CStr(steps) + " steps, one table row each: from 1 to " +
                    text::CStr(kMaxRakeRows) + " rows can be made.");
    return steps;
}

// What lengthens a profile too short to fit. The profile runs from the crest point along
// the rake line, on the third point's side of the crest, to the first slice point
// without a height or to the line's far end. The third point only chooses the side:
// moved further in on that side, it leaves the profile as it was.
std::string lengthenAdvice(bool endsAtBlank) {
    if (endsAtBlank)
        return "The profile ends where the rake line leaves the transformed grid's data, and the third point only "
               "chooses the side of the crest the line runs to (moving it further in changes nothing): digitise the "
               "crest point where the cusp area reaches further beyond it on the third point's side, or outline a "
               "larger cusp area (\"Digitise cusp area and trans\").";
    return "The profile ends with the rake line, which runs twice the rake length from the crest point: give a "
           "longer rake length.";
}

} // namespace

std::vector<RakePass> rakePasses(RakeKind kind, const RakeBoxes& b) {
    std::vector<RakePass> passes;
    if (kind != RakeKind::Multiple) {
        const double length = boxNumber(b.txtRakeLengthF, "The Fraction length");
        const double factor = positive(boxNumber(b.txtRakeIntF, "The Fraction factor"), "The Fraction factor");
        RakePass p;
        p.interval = positive(length * factor, "The Fraction interval (length x factor)");
        p.steps = rowBound(1 / factor, "The Fraction factor");
        p.letter = 'f';
        p.lengthText = text::Trim(b.txtRakeLengthF);
        passes.push_back(p);
    }
    if (kind != RakeKind::Fraction) {
        RakePass p;
        p.interval = positive(boxNumber(b.txtRakeLengthM, "The Multiple length"), "The Multiple interval");
        p.steps = rowBound(positive(boxNumber(b.txtRakeIntM, "The Multiple factor"), "The Multiple number of steps"),
                           "The Multiple number of steps");
        p.letter = 'm';
        p.lengthText = text::Trim(b.txtRakeLengthM);
        passes.push_back(p);
    }
    return passes;
}

std::string rakeTag(const std::string& crestCode, const std::string& crestInfo, const RakePass& pass) {
    return crestCode + crestInfo + "-" + pass.letter + pass.lengthText;
}

formats::PointXY rakeLineEnd(const formats::PointXY& P1, const formats::PointXY& P2, const formats::PointXY& P3,
                             double length) {
    const double dx = P2.x - P1.x, dy = P2.y - P1.y;
    if (dx == 0 && dy == 0)
        throw Error("The first two digitised points lie at the same place, so the crest has no direction: "
                    "digitise a point on the crest and a second point along it.");
    const double q1x = P1.x - dy, q1y = P1.y + dx;  // Q1 = P1 + (-dy, dx)
    const double q2x = P1.x + dy, q2y = P1.y - dx;  // Q2 = P1 + (dy, -dx)
    const double d1 = std::hypot(P3.x - q1x, P3.y - q1y), d2 = std::hypot(P3.x - q2x, P3.y - q2y);
    double wx = -dy, wy = dx;
    if (d1 > d2) {
        wx = dy;
        wy = -dx;
    }
    const double len = std::hypot(wx, wy);
    return {P1.x + 2 * length * wx / len, P1.y + 2 * length * wy / len};
}

std::vector<RakeRow> rakeRows(const std::vector<double>& D, const std::vector<double>& Z, const RakePass& pass) {
    const std::size_t records = std::min(D.size(), Z.size());
    std::size_t n = records;
    for (std::size_t j = 0; j < n; ++j)
        if (isBlank(Z[j])) {
            n = j;
            break;
        }
    if (n < 3)
        throw Error("The rake profile holds " + std::to_string(n) + (n == 1 ? " point with a height" : " points with heights") +
                    "; a rake line needs at least 3. " +
                    lengthenAdvice(n < records));
    std::vector<double> C(n, 0.0);
    for (std::size_t j = 1; j < n; ++j) C[j] = C[j - 1] + std::sqrt(std::pow(D[j] - D[j - 1], 2) + std::pow(Z[j] - Z[j - 1], 2));

    const double I = pass.interval, S = pass.steps;
    rowBound(S, "The number of steps");
    long K = static_cast<long>(text::CInt(S));
    if (C[n - 1] < S * I) K = static_cast<long>(text::Int(C[n - 1] / I));
    if (K < 1)
        throw Error("The rake profile is " + text::CStr(C[n - 1]) + " long, less than one rake interval (" +
                    text::CStr(I) + "): there is no rake line to fit. " + lengthenAdvice(n < records));

    std::vector<RakeRow> rows;
    for (long k = 1; k <= K; ++k) {
        RakeRow r;
        r.threshold = static_cast<double>(k) * I;
        // Points up to and including the first beyond the threshold.
        std::size_t m = 0;
        for (std::size_t j = 1; j < n; ++j)
            if (C[j] <= r.threshold) m = j + 2;
        m = std::clamp<std::size_t>(m, 3, n);
        double sD = 0, sD2 = 0, sZ = 0, sZ2 = 0, sDZ = 0;
        for (std::size_t j = 0; j < m; ++j) {
            sD += D[j];
            sD2 += D[j] * D[j];
            sZ += Z[j];
            sZ2 += Z[j] * Z[j];
            sDZ += D[j] * Z[j];
        }
        const double md = static_cast<double>(m);
        r.points = static_cast<long>(m);
        r.actualLength = C[m - 1];
        r.aveX = sD / md;
        r.aveZ = sZ / md;
        r.sXZ = sDZ - sD * sZ / md;
        r.sZZ = sZ2 - sZ * sZ / md;
        r.sXX = sD2 - sD * sD / md;
        if (r.sXX == 0)
            throw Error("The rake profile's first " + std::to_string(m) +
                        " points share one distance along the line, so no line can be fitted.");
        r.slope = -r.sXZ / r.sXX;
        r.rakeAngle = std::atan(r.slope) * 180 / 3.14159265358979;
        r.intercept = r.aveZ - r.aveX * r.slope;
        rows.push_back(r);
    }
    return rows;
}

std::vector<std::string> rakeTableLines(const std::vector<RakeRow>& rows) {
    std::vector<std::string> lines;
    text::WriteLine h;
    for (const char* name : {"Threshold_rake_length", "Actual_rake_length", "No_rake_pts", "Slope", "Rake_angle",
                             "Intercept", "S_XZ", "S_XX", "S_ZZ", "Ave_X", "Ave_Z"})
        h.text(name);
    lines.push_back(h.str());
    for (const RakeRow& r : rows) {
        text::WriteLine w;
        w.num(r.threshold).num(r.actualLength).num(static_cast<double>(r.points)).num(r.slope).num(r.rakeAngle);
        w.num(r.intercept).num(r.sXZ).num(r.sXX).num(r.sZZ).num(r.aveX).num(r.aveZ);
        lines.push_back(w.str());
    }
    return lines;
}

} // namespace trelvik::toothfeatures
