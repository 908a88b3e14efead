// The worked example of docs/guide.md, done in the windows as the guide tells it (the
// steps of tools/guideexample.h, also behind the guide's pictures), on a copy of
// samples/: every number the guide quotes must come out as quoted, and must stand in
// the guide as written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <sstream>

#include "app/toolwindows.h"
#include "conversion/frmConversion.h"
#include "core/grid.h"
#include "formats/surfergrid.h"
#include "formats/xyzpointfile.h"
#include "guideexample.h"
#include "planes/frmPlaneFit.h"
#include "planes/planeformula.h"
#include "pointclouds/frmPtCloud.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "surferwin/mapwindow.h"
#include "toothfeatures/frmAppAng.h"
#include "toothfeatures/frmCuspVol.h"

using namespace trelvik;
namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string& guideText() {
    static const std::string text = readAll(std::string(TRELVIK_SOURCE_DIR) + "/docs/guide.md");
    return text;
}

// A number as the guide quotes it: the value rounds to the text's last digit, and the
// guide holds the text.
void quoted(double value, const std::string& text) {
    const auto dot = text.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
    EXPECT_LE(std::fabs(value - std::stod(text)), 0.5 * std::pow(10.0, -decimals) + 1e-12)
        << "computed " << value << ", the guide says " << text;
    EXPECT_NE(guideText().find(text), std::string::npos) << "the guide does not quote " << text;
}

// Comma-separated fields of a line (quotes kept).
std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream ss(line);
    std::string f;
    while (std::getline(ss, f, ',')) out.push_back(f);
    return out;
}

std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> out;
    std::stringstream ss(readAll(path));
    std::string l;
    while (std::getline(ss, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

double unquoted(std::string f) {
    f.erase(std::remove(f.begin(), f.end(), '"'), f.end());
    return std::stod(f);
}

struct Example {
    trelvik::testing::TempFolder dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmStartup> main;
    std::unique_ptr<guide::Example> ex;

    Example() {
        testsupport::ensureApp();
        surfer::shutdownAll();
        guide::copySamples(std::string(TRELVIK_SOURCE_DIR) + "/samples", dir.folder());
        state.ProgramDir = state.DefaultDir = dir.folder();
        state.mnuSurf6Checked = false;
        state.mnuSurf8Checked = true;
        state.SurferVersion = "SurferV8";
        main = std::make_unique<frmStartup>(state, prompt);
        registerToolWindows(*main, state, prompt);
        ex = std::make_unique<guide::Example>(guide::Example{*main, prompt, dir.folder(), {}});
    }
    ~Example() {
        main.reset();
        for (const auto& app : surfer::instances()) delete surferwin::findMapWindow(app->processId());
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    std::string path(const std::string& name) const { return dir.path(name); }
    // Only the digitise questions and the map window's question before it replaces
    // digit.dat were shown: no step failed.
    void expectNoFailure() const {
        for (const auto& m : prompt.shown)
            EXPECT_TRUE(m.title == "Digitise map" || m.text.find("already exists. Replace it?") != std::string::npos)
                << m.title << ": " << m.text;
    }
};

} // namespace

TEST(GuideExample, RunsOnTheSamplesAsTheGuideTellsIt) {
    ASSERT_FALSE(guideText().empty());
    Example e;

    // Plane fit.
    frmPlaneFit* plane = guide::fitPlane(*e.ex);
    e.expectNoFailure();
    EXPECT_EQ(plane->Label4->text(), "4");
    const auto formula = planes::tryParsePlaneFormula(plane->txtFormula->text().toStdString());
    ASSERT_TRUE(formula.has_value()) << plane->txtFormula->text().toStdString();
    quoted(formula->C, "0.7892");
    quoted(formula->B, "-0.0057");
    quoted(formula->A, "0.0137");
    for (const char* f : {"molarplane.grd", "molarplaneform.txt", "molarpl.dat", "molarplane_report.txt"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;
    const auto planeHeights = lines(e.path("molarplz.dat"));
    ASSERT_EQ(planeHeights.size(), 4u);
    const char* basins[] = {"0.899", "0.9286", "0.7084", "0.8046"};
    for (std::size_t i = 0; i < 4; ++i) {
        std::istringstream zone(planeHeights[i]);
        double x = 0, y = 0, z = 0;
        zone >> x >> y >> z;
        quoted(z, basins[i]);
    }

    // Cusp volume of the paracone against that plane.
    frmCuspVol* cusp = guide::measureCusp(*e.ex);
    e.expectNoFailure();
    EXPECT_EQ(cusp->Label12->text(), "Done");
    EXPECT_EQ(cusp->Label13->text(), "Done");
    quoted(cusp->Label6->text().toDouble(), "0.6024");
    quoted(cusp->Label8->text().toDouble(), "1.5749");
    const auto table = lines(e.path("molarpa-0_cuspvolresults.csv"));
    ASSERT_EQ(table.size(), 12u);
    const auto half = fields(table[6]), last = fields(table[11]);
    EXPECT_EQ(last[2], "\"10/50il\"");
    quoted(unquoted(last[3]), "0.9999");
    quoted(unquoted(half[3]), "0.4999");
    quoted(unquoted(half[5]), "0.4834");
    quoted(unquoted(half[6]), "2.3673");
    quoted(unquoted(last[5]), "1.6203");
    quoted(unquoted(last[6]), "3.2757");
    for (const char* f : {"molarpapoints.dat", "molarpapoints.bln", "molarpab.grd", "molarpabtmp.grd"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;

    // Approach angle of the postparacrista.
    frmAppAng* crest = guide::measureCrest(*e.ex);
    e.expectNoFailure();
    const std::string wrote = "Wrote molarpopac_crp.bln, molarpopac_crp.dat, molarpopac_crsl.dat, "
                              "molarpopac_crsltrs_aaresults.csv in";
    EXPECT_EQ(crest->lblStatus->text().toStdString().rfind(wrote, 0), 0u) << crest->lblStatus->text().toStdString();
    const auto heights = lines(e.path("molarpopac_ovpz.dat"));
    ASSERT_EQ(heights.size(), 2u);
    EXPECT_NE(heights[0].find("2.3509"), std::string::npos) << heights[0];
    EXPECT_NE(guideText().find("2.3509"), std::string::npos);
    EXPECT_NE(heights[1].find("1.0537"), std::string::npos) << heights[1];
    EXPECT_NE(guideText().find("1.0537"), std::string::npos);
    const auto angles = lines(e.path("molarpopac_crsltrs_aaresults.csv"));
    ASSERT_EQ(angles.size(), 21u);
    const auto first = fields(angles[1]);
    ASSERT_EQ(first.size(), 15u);
    quoted(std::stod(first[13]), "54.12");
    quoted(std::stod(first[14]), "54.69");
    for (const char* f : {"molarpopac_crp.dat", "molarpopac_crp.bln", "molarpopac_crsl.dat"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;

    // The scanner point file to a blanked grid.
    frmConversion* conv = guide::gridPoints(*e.ex);
    e.expectNoFailure();
    EXPECT_EQ(conv->txtNoPts->text(), "5000");
    EXPECT_EQ(conv->txtRXMin->text(), "0.414");
    EXPECT_EQ(conv->txtRXMax->text(), "9.575");
    EXPECT_EQ(conv->txtNoUCPts->text(), "5000");
    EXPECT_EQ(conv->txtNoOutlinePts->text(), "144");
    EXPECT_TRUE(formats::readXyzPointFile(e.path("molar_points-uct240_60_rej.txt")).empty());
    const Grid blanked = formats::readSurferGrid(e.path("molar_points-uct240_60pb.grd"));
    EXPECT_EQ(blanked.cols, 94);
    EXPECT_EQ(blanked.rows, 74);
    long withData = 0;
    for (int r = 0; r < blanked.rows; ++r)
        for (int c = 0; c < blanked.cols; ++c) withData += !blanked.blank(c, r);
    EXPECT_EQ(withData, 5169);
    quoted(blanked.zMax(), "2.558");
    for (const char* f : {"molar_points-uct240_60.txt", "molar_points-uct240_60p.txt", "molar_points-uct240_60p.grd",
                          "molar_points-uct240_60pblnpts.bln"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;

    // Enamel thickness from the outer surface to the enamel-dentine junction.
    guide::measureEnamel(*e.ex);
    e.expectNoFailure();
    const auto dist = lines(e.path("molar_points_dist.txt"));
    ASSERT_EQ(dist.size(), 5000u);
    EXPECT_EQ(dist[0], "6.172,5.895,2.1067,0.677689781537246");
    EXPECT_NE(guideText().find(dist[0]), std::string::npos);
    std::vector<double> d;
    for (const auto& l : dist) d.push_back(std::stod(l.substr(l.rfind(',') + 1)));
    quoted(*std::min_element(d.begin(), d.end()), "0.418");
    quoted(*std::max_element(d.begin(), d.end()), "0.920");
    quoted(std::accumulate(d.begin(), d.end(), 0.0) / static_cast<double>(d.size()), "0.562");
    EXPECT_TRUE(fs::exists(e.path("molar_points_temp.txt")));
}
