#include "toothfeatures/cuspvollevels.h"

#include "core/textform.h"
#include "core/vectors.h"

#include <algorithm>
#include <cmath>

namespace trelvik::toothfeatures {

namespace {
// Sign-slot form with the blank of a non-negative number removed.
std::string bareStr(double v) { return text::Trim(text::Str(v)); }

std::string quoted(const std::string& s) { return "\"" + s + "\""; }
} // namespace

double basalTilt(double A, double B)
{
    // Rounding may leave the cosine a hair above 1 for a nearly level plane; the arc
    // cosine is only defined up to 1, and a level plane has no tilt.
    const double c = 1.0 / std::sqrt(A * A + B * B + 1.0);
    return ArcCos(std::min(1.0, c));
}

double verticalStep(double intervalSize, double tilt)
{
    return intervalSize * std::sin(1.570796 - tilt);
}

double levelHeight(double tipHeight, double step, int k)
{
    return tipHeight - (k - 1) * step;
}

std::string levelFunction(double level)
{
    return "C = A +" + text::Str(level);
}

std::string cuspVolHeader()
{
    text::WriteLine w;
    for (const char* name : {"IntZMin", "IntZMax", "Fract_IL", "Vert_dist_from_tip", "Dist_from_tip", "Volume",
                             "Pos_Surf_Area"})
        w.text(name);
    return w.str();
}

std::string cuspVolRow(const CuspVolRow& row)
{
    // The first two fields carry texts in the sign-slot form, which the results
    // writer's general form would not give, so the row is assembled here.
    std::string line = quoted(bareStr(row.level));
    line += "," + quoted(row.tipText);
    line += "," + quoted(std::to_string(row.interval) + "/" + row.divisorText + "il");
    text::WriteLine rest;
    rest.num(row.vertDist).num(row.dist).num(row.volume).num(row.posSurfArea).text("");
    return line + "," + rest.str();
}

std::string cuspVolResultsPath(const std::string& stem, const std::string& cuspCode, double toothLength)
{
    return stem + cuspCode + "-" + bareStr(toothLength) + "_cuspvolresults.csv";
}

} // namespace trelvik::toothfeatures
