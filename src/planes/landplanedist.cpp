#include "planes/landplanedist.h"

#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/resultscsv.h"
#include "shell/savefilerules.h"

#include <cmath>

namespace trelvik::planes {

namespace {
struct NormalForm {
    double Nx, Ny, Nz, Nc;
};
// 0 - A keeps a level plane's Nx at +0, so it is written " 0 ", not "-0 ".
NormalForm normalForm(const PlaneCoefficients& p) { return {0.0 - p.A, 0.0 - p.B, 1.0, p.C}; }
} // namespace

double DistanceToPlane(const PlaneCoefficients& p, double x, double y, double z) {
    const NormalForm n = normalForm(p);
    return std::fabs(n.Nx * x + n.Ny * y + n.Nz * z - n.Nc) / std::sqrt(n.Nx * n.Nx + n.Ny * n.Ny + n.Nz * n.Nz);
}

std::vector<std::string> PlaneDistanceLines(const PlaneCoefficients& p, const std::string& line,
                                            const std::vector<double>& meanX, const std::vector<double>& meanY,
                                            const std::vector<double>& meanZ) {
    const NormalForm n = normalForm(p);
    std::vector<std::string> out;
    out.push_back("Formula for surface: Nx*x + Ny*y + Nz*z = Nc");
    out.push_back(text::PrintLine().text("Nx").text("Ny").text("Nz").text("Nc").str());
    out.push_back(text::PrintLine().num(n.Nx).num(n.Ny).num(n.Nz).num(n.Nc).str());
    out.push_back("Formula for surface: z = Zx*x + Zy*y + Zc");
    out.push_back(text::PrintLine()
                      .text("z(x,y) = (")
                      .num(p.A)
                      .text(" * x) + (")
                      .num(p.B)
                      .text(" * y) + (")
                      .num(p.C)
                      .text(")")
                      .str());
    out.push_back(line);
    out.push_back("Distance of Point from plane");
    for (std::size_t k = 0; k < meanX.size(); ++k)
        out.push_back(
            text::PrintLine().text(std::to_string(k + 1)).num(DistanceToPlane(p, meanX[k], meanY[k], meanZ[k])).str());
    return out;
}

bool FindDistancesToPlane(LandFindState& s, Prompt& prompt, const std::string& text4, const std::string& folder) {
    if (text4 == "*.txt" || text4.empty())
        return refuse(prompt, "Filename", "Choose plane formula filename");
    if (s.ResultsPath.empty() || s.MeanX.empty())
        return refuse(prompt, "Landmark", "Calculate the landmark statistics before finding their distances to a plane.");
    const std::string path = joinFolder(folder, text4);
    const std::string line = firstLine(readWholeFile(path));
    const PlaneCoefficients p = ParsePlaneFormula(line, path);
    formats::appendResultsLines(s.ResultsPath, PlaneDistanceLines(p, line, s.MeanX, s.MeanY, s.MeanZ));
    return true;
}

} // namespace trelvik::planes
