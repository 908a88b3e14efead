#include "planes/planefitgrid.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/quoted.h"
#include "shell/gridgeometry.h"
#include "shell/reportcapture.h"
#include "shell/settings.h"
#include "surfer/application.h"

#include <charconv>
#include <cmath>
#include <filesystem>

namespace trelvik::planes {

bool usesVersion6(const AppState& app) {
    if (app.SurferVersion == "SurferV6") return true;
    if (app.SurferVersion == "SurferV8") return false;
    throw Error("No Surfer version is chosen (\"" + app.SurferVersion +
                "\"): tick Surfer 6 or Surfer 8 in the main window's File menu.");
}

std::string folderWithSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder;
    return folder + static_cast<char>(std::filesystem::path::preferred_separator);
}

PlaneToolLattice ReadPlaneToolGeometry(AppState& app, surfer::Application& m_Surfer, const std::string& grid,
                                       const std::string& gridDir) {
    PlaneToolLattice l;
    if (usesVersion6(app)) {
        const std::string path = gridDir + "volume.dat";
        m_Surfer.FileNew();
        m_Surfer.call("GridVolume", surfer::Positional{grid, surfer::omitted, surfer::omitted, 0});
        m_Surfer.FileSaveAs(path);
        m_Surfer.FileClose();
        auto sheet = m_Surfer.FileOpen(path, 1);
        auto cell = [&](long row, long col) { return text::Val(m_Surfer.GetWksCell(sheet, row, col)); };
        l.cols = text::CInt(cell(4, 4));
        l.rows = text::CInt(cell(4, 7));
        l.xSpacing = cell(5, 2);
        l.ySpacing = cell(6, 2);
        l.xMin = cell(7, 1);
        l.xMax = cell(7, 3);
        l.yMin = cell(8, 1);
        l.yMax = cell(8, 3);
        m_Surfer.FileClose();
    } else {
        ReadGridGeometry(app, grid);
        l.cols = app.GridCols;
        l.rows = app.GridRows;
        l.xSpacing = app.GridXSpacing;
        l.ySpacing = app.GridYSpacing;
        l.xMin = app.GridXMin;
        l.xMax = app.GridXMax;
        l.yMin = app.GridYMin;
        l.yMax = app.GridYMax;
    }
    if (l.cols < 2 || l.rows < 2) throw Error("The geometry of " + grid + " could not be read");
    return l;
}

void RegressionPlaneGrid(const AppState& app, surfer::Application& m_Surfer, const std::string& dataFile,
                         const PlaneToolLattice& l, const std::string& outGrid) {
    if (usesVersion6(app)) {
        surfer::Positional p{dataFile, 0,          1,      2,      l.xMin, l.xMax, l.yMin, l.yMax,
                             l.xSpacing, l.ySpacing, l.rows, l.cols, 3,      outGrid, 1};
        while (p.args.size() < 50) p.args.emplace_back(surfer::omitted);
        for (int k = 0; k < 4; ++k) p.args.emplace_back(1);
        m_Surfer.call("GridData", p);
    } else {
        m_Surfer.call("GridData", surfer::Named{{"DataFile", dataFile},
                                                {"NumCols", l.cols},
                                                {"NumRows", l.rows},
                                                {"XMin", l.xMin},
                                                {"XMax", l.xMax},
                                                {"YMin", l.yMin},
                                                {"YMax", l.yMax},
                                                {"Algorithm", 7},
                                                {"ShowReport", true},
                                                {"OutGrid", outGrid},
                                                {"RegrMaxXOrder", 1},
                                                {"RegrMaxYOrder", 1},
                                                {"RegrMaxTotalOrder", 1}});
    }
}

std::string RegressionFormulaText(AppState& app, surfer::Application& m_Surfer, const std::string& gridDir,
                                  const std::string& reportCopy, StagedFiles* staged) {
    if (usesVersion6(app)) {
        const std::string text = firstLine(m_Surfer.clipboard());
        ParsePlaneFormula(text, "The clipboard text after the regression");
        return text;
    }
    const std::string saved = CaptureSurferReport(app, gridDir, "1", staged);
    const std::string& copy = staged ? staged->work(reportCopy) : reportCopy;
    writeFileAtomic(copy, readWholeFile(saved));
    auto sheet = m_Surfer.Documents.Open(copy);
    double coefficient[3] = {0, 0, 0};
    const char* cells[3] = {"B166", "B167", "B168"};
    try {
        for (int k = 0; k < 3; ++k) coefficient[k] = ReportCoefficient(sheet->Cells(cells[k]).Value, cells[k], reportCopy);
    } catch (...) {
        m_Surfer.ActiveWindow().Close();
        throw;
    }
    m_Surfer.ActiveWindow().Close();
    return PlaneFormulaLine(coefficient[0], coefficient[1], coefficient[2]);
}

double ReportCoefficient(const std::string& cellText, const std::string& cell, const std::string& report) {
    std::string_view t = cellText;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    double v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || r.ec != std::errc() || !std::isfinite(v))
        throw Error("Cell " + cell + " of the regression report " + report + " holds no plane coefficient (\"" +
                    formats::quotedPart(cellText) + "\"), so no plane formula was written.");
    return v;
}

void IntersectionGrid(const AppState& app, surfer::Application& m_Surfer, const std::string& gridA,
                      const std::string& gridB, const std::string& out) {
    if (usesVersion6(app))
        m_Surfer.call("GridMath", surfer::Positional{gridA, gridB, out, surfer::omitted, "C=max(A,B)"});
    else
        m_Surfer.call("GridMath", surfer::Named{{"Function", "C=max(A,B)"},
                                                {"InGridA", gridA},
                                                {"InGridB", gridB},
                                                {"OutGridC", out}});
}

} // namespace trelvik::planes
