// The occlusion relief steps end to end: a groove grid sliced through the stand-in in
// both call forms, the occlusal-vector points matched, the relief written and checked
// against a hand computation.
#include "toothfeatures/cusporsteps.h"

#include "core/fileroutines.h"
#include "core/grid.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"
#include "surfer/application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace trelvik;
using namespace trelvik::toothfeatures;
using ::testing::HasSubstr;

namespace {

// Heights along the groove (x = 0 .. 10, one node per unit); the groove runs along y = 0
// and the crown is the same across it. The chord from x = 0 to x = 10 rises by 2.
const std::vector<double> kGroove = {2, 1, 0, -1, -0.5, 0, 1, 2, 3, 3.5, 4};

struct ORRun {
    trelvik::testing::TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    CuspORControls c;
    CuspORState s;
    CuspORRun run{app, prompt, c, s};

    explicit ORRun(bool v6)
    {
        surfer::shutdownAll();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        Grid g(11, 11, 0, 10, -5, 5);
        for (int j = 0; j < 11; ++j)
            for (int i = 0; i < 11; ++i) g.at(i, j) = kGroove[i];
        formats::writeSurferGrid(dir.path("G1.grd"), g, formats::SurferGridFormat::Binary7);
        c.Label3 = dir.folder();
        c.Text2 = "G1.grd";
    }
    ~ORRun() { surfer::shutdownAll(); }

    void digitise(const std::string& file, const std::string& content)
    {
        prompt.respond([path = dir.path(file), content](const ScriptedPrompt::Shown& m) {
            EXPECT_EQ(m.title, "Digitise map");
            EXPECT_EQ(m.readPath, path);
            writeFileAtomic(path, content);
            return Answer::Ok;
        });
    }
    bool profile(const std::string& line = "0,0\r\n10,0\r\n")
    {
        digitise("digit.dat", line);
        return DigitiseProfile(run);
    }
    bool vector(const std::string& points)
    {
        digitise("digit1.dat", points);
        return DigitiseOcclusalVector(run);
    }
    std::string last() const { return prompt.shown.back().text; }
};

std::vector<double> numbersOf(const std::string& line)
{
    std::vector<double> v;
    std::size_t p = 0;
    while (p <= line.size()) {
        const std::size_t e = line.find(',', p);
        v.push_back(std::stod(line.substr(p, e - p)));
        if (e == std::string::npos) break;
        p = e + 1;
    }
    return v;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t p = 0, e;
    while ((e = text.find("\r\n", p)) != std::string::npos) {
        out.push_back(text.substr(p, e - p));
        p = e + 2;
    }
    return out;
}

} // namespace

TEST(CuspORSteps, GrooveReliefByHandInBothCallFormsAndPointOrders)
{
    const double theta = std::atan(2.0 / 10.0);
    std::vector<double> rotZ;
    for (int k = 0; k < 11; ++k) rotZ.push_back(-k * std::sin(theta) + kGroove[k] * std::cos(theta));
    // The chord ends are level and highest: the peak is point 1 and the relief runs from it.
    double sum = 0;
    for (int k = 0; k < 11; ++k) sum += rotZ[k] - rotZ[0];

    std::string profiles[2];
    for (bool v6 : {false, true}) {
        for (bool reversed : {false, true}) {
            ORRun t(v6);
            t.dir.write("G1_Profp.dat", "a file of the user's\r\n");  // no file of the step's
            ASSERT_TRUE(t.profile()) << t.last();
            EXPECT_EQ(t.prompt.shown[0].text,
                      "Use 'Digitise' to define profile of groove.\n\rSave as digit.dat in same directory as grid "
                      "then press 'OK'.");
            EXPECT_EQ(t.dir.read("G1_Profp.dat"), "a file of the user's\r\n");
            EXPECT_EQ(t.dir.read("G1_Profp.bln"), "2             0\r\n 0             0 \r\n 10            0 \r\n");
            profiles[v6] = t.dir.read("G1_Prof.dat");
            ASSERT_EQ(t.s.profile.count(), 11);

            ASSERT_TRUE(t.vector(reversed ? "10.3,-0.4\r\n0.2,0.3\r\n" : "0.2,0.3\r\n10.3,-0.4\r\n")) << t.last();
            EXPECT_EQ(t.c.Label9, "1");
            EXPECT_EQ(t.dir.read("G1_ovp.dat"), t.dir.read("digit1.dat"));
            const auto lines = linesOf(t.dir.read("G1_corresults.csv"));
            ASSERT_EQ(lines.size(), 11u);
            const auto first = numbersOf(lines[0]);
            ASSERT_EQ(first.size(), 12u);
            EXPECT_EQ(first[7], reversed ? 11 : 1);
            EXPECT_EQ(first[8], reversed ? 1 : 11);
            EXPECT_NEAR(first[9], theta * 180 / 3.14159, 1e-12);
            EXPECT_NEAR(first[10], sum, 1e-12);
            EXPECT_NEAR(first[11], -sum / 11, 1e-12);
            for (int k = 0; k < 11; ++k) {
                const auto f = numbersOf(lines[k]);
                ASSERT_EQ(f.size(), k == 0 ? 12u : 7u);
                EXPECT_DOUBLE_EQ(f[0], k);
                EXPECT_DOUBLE_EQ(f[2], kGroove[k]);
                EXPECT_DOUBLE_EQ(f[3], k);
                EXPECT_NEAR(f[4], k * std::cos(theta) + kGroove[k] * std::sin(theta), 1e-12);
                EXPECT_NEAR(f[5], rotZ[k], 1e-12);
                EXPECT_NEAR(f[6], rotZ[k] - rotZ[0], 1e-12);
            }
            EXPECT_EQ(t.s.PeakIndex, 1);
        }
    }
    EXPECT_EQ(profiles[0], profiles[1]);
}

TEST(CuspORSteps, RefusalsWriteNoResults)
{
    ORRun t(false);
    // Occlusal vector before a profile; no grid chosen.
    EXPECT_FALSE(DigitiseOcclusalVector(t.run));
    EXPECT_THAT(t.last(), HasSubstr("profile first"));
    t.c.Text2 = "*.grd";
    EXPECT_FALSE(DigitiseProfile(t.run));
    EXPECT_EQ(t.prompt.shown.back().title, "Filename");
    EXPECT_EQ(t.last(), "Choose grid filename");
    EXPECT_TRUE(surfer::instances().empty());  // refused before the map window could open
    t.c.Text2 = "G1.grd";
    // A line of one point, a missing file, a cancelled prompt.
    EXPECT_FALSE(t.profile("1,0\r\n"));
    EXPECT_THAT(t.last(), HasSubstr("two are needed"));
    t.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(DigitiseProfile(t.run));
    std::filesystem::remove(t.dir.path("digit.dat"));
    EXPECT_FALSE(DigitiseProfile(t.run));
    EXPECT_THAT(t.last(), HasSubstr("digit.dat"));

    // A profile running off the grid crosses blank heights: refused and not kept.
    EXPECT_FALSE(t.profile("5,0\r\n15,0\r\n"));
    EXPECT_THAT(t.last(), HasSubstr("blank"));
    EXPECT_EQ(t.s.profile.count(), 0);

    ASSERT_TRUE(t.profile());
    // Points too far, tolerance step not above 0, the same point twice.
    EXPECT_FALSE(t.vector("0,2000\r\n10,0\r\n"));
    EXPECT_EQ(t.prompt.shown.back().title, "Error");
    EXPECT_EQ(t.last(), "Error - Occlusal vector points must be closer to profile.\n\r"
                        "Redo occlusal vector or increase tolerance.");
    t.c.Text1 = "0";  // refused before the user is asked to digitise
    const std::size_t asked = t.prompt.shown.size();
    EXPECT_FALSE(DigitiseOcclusalVector(t.run));
    EXPECT_EQ(t.prompt.shown.size(), asked + 1);
    EXPECT_THAT(t.last(), HasSubstr("tolerance"));
    t.c.Text1 = "1";
    EXPECT_FALSE(t.vector("3,0\r\n3,0\r\n"));
    EXPECT_EQ(t.prompt.shown.back().title, "Error");
    // Two points that fall on one profile point.
    t.c.Text1 = "5";
    EXPECT_FALSE(t.vector("3,0\r\n3.2,0\r\n"));
    EXPECT_THAT(t.last(), HasSubstr("same point of the profile"));
    EXPECT_FALSE(FileExists(t.dir.path("G1_corresults.csv")));
    EXPECT_FALSE(t.prompt.busyNow);

    NextGrid(t.run);
    EXPECT_EQ(t.c.Text2, "*.grd");
    EXPECT_EQ(t.c.Text1, "1");
    EXPECT_EQ(t.c.Label9, "");
}

TEST(CuspORSteps, RefusedProfileLeavesTheEarlierProfilesFiles)
{
    ORRun t(false);
    ASSERT_TRUE(t.profile()) << t.last();
    const std::string line = t.dir.read("G1_Profp.bln"), slice = t.dir.read("G1_Prof.dat");
    EXPECT_FALSE(t.profile("5,0\r\n15,0\r\n"));  // off the grid: blank heights
    EXPECT_EQ(t.dir.read("G1_Profp.bln"), line);
    EXPECT_EQ(t.dir.read("G1_Prof.dat"), slice);
}

TEST(CuspORSteps, RefusedProfileLeavesTheEarlierProfileToMeasure)
{
    ORRun t(false);
    ASSERT_TRUE(t.profile()) << t.last();
    EXPECT_FALSE(t.profile("5,0\r\n15,0\r\n"));  // off the grid: blank heights
    EXPECT_TRUE(t.vector("0.2,0.3\r\n10.3,-0.4\r\n")) << t.last();
    EXPECT_EQ(linesOf(t.dir.read("G1_corresults.csv")).size(), 11u);
}

TEST(CuspORSteps, RefusedOcclusalVectorPointsLeaveTheEarlierCopy)
{
    ORRun t(false);
    ASSERT_TRUE(t.profile()) << t.last();
    ASSERT_TRUE(t.vector("0,0\r\n10,0\r\n")) << t.last();
    EXPECT_FALSE(t.vector("0,2000\r\n10,0\r\n"));  // too far from the profile
    EXPECT_EQ(t.dir.read("G1_ovp.dat"), "0,0\r\n10,0\r\n");
}

TEST(CuspORSteps, TableThatCannotBeReplacedLeavesTheEarlierPointsCopy)
{
    ORRun t(false);
    ASSERT_TRUE(t.profile()) << t.last();
    ASSERT_TRUE(t.vector("0,0\r\n10,0\r\n")) << t.last();
    std::filesystem::remove(t.dir.path("G1_corresults.csv"));
    std::filesystem::create_directories(t.dir.path("G1_corresults.csv") + "/inside");
    EXPECT_FALSE(t.vector("0.2,0.3\r\n10.3,-0.4\r\n"));
    EXPECT_THAT(t.last(), HasSubstr("G1_corresults.csv"));
    EXPECT_EQ(t.dir.read("G1_ovp.dat"), "0,0\r\n10,0\r\n");
}
