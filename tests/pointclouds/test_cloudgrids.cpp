// Grid steps through the stand-in: blanking by a digitised outline, extraction by
// digitised corners and by row step, the call forms of both versions, the maps and
// labels placed side by side, and the refusals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cmdrun.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "formats/surfergrid.h"
#include "pointclouds/cloudgrids.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"

using namespace ptcloudtest;
using ::testing::HasSubstr;

namespace {

struct GridRun : CmdRun {
    explicit GridRun(bool v6 = false) {
        surfer::shutdownAll();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
    }
    ~GridRun() { surfer::shutdownAll(); }
    // 21 x 21 nodes 0.5 apart over 0..10, z = x + y.
    void grid(const std::string& name) {
        Grid g(21, 21, 0, 10, 0, 10);
        for (int j = 0; j < 21; ++j)
            for (int i = 0; i < 21; ++i) g.at(i, j) = g.x(i) + g.y(j);
        formats::writeSurferGrid(dir.path(name), g, formats::SurferGridFormat::Binary7);
        add(name);
    }
    void digitise(const std::string& content) {
        prompt.respond([this, content](const ScriptedPrompt::Shown& s) {
            EXPECT_EQ(s.title, "Digitise map");
            EXPECT_EQ(s.readPath, dir.path("digit.dat"));
            writeFileAtomic(dir.path("digit.dat"), content);
            return Answer::Ok;
        });
    }
    Grid read(const std::string& name) const { return formats::readSurferGrid(dir.path(name)); }
    std::vector<std::string> calls(const std::string& op) const {
        std::vector<std::string> out;
        for (const auto& l : list.m_Surfer->callLog())
            if (l.rfind(op + "(", 0) == 0) out.push_back(l);
        return out;
    }
};

} // namespace

TEST(CloudGrids, BlankOutsideAndInsideADigitisedOutline) {
    for (bool v6 : {false, true}) {
        GridRun r(v6);
        r.grid("m1.grd");
        r.digitise("2,2\r\n8,2\r\n8,8\r\n2,8\r\n2,5\r\n");
        ASSERT_TRUE(cmdBlank(r.ctx, {}));
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].text,
                  "Use 'Digitise' to digitise area of m1 to be blanked.\n\rSave as digit.dat in same directory as grid "
                  "then press 'OK'.");
        // Five points: count 6, flag 0, print zones, the first point again at the end.
        const auto bln = lines(r.dir.read("m1blnpts.bln"));
        ASSERT_EQ(bln.size(), 7u);
        EXPECT_EQ(bln[0], " 6            0");
        EXPECT_EQ(bln[6], bln[1]);
        EXPECT_EQ(r.dir.read("m1blnpts.dat"), r.dir.read("digit.dat"));
        const Grid b = r.read("m1b.grd");
        EXPECT_TRUE(b.blank(0, 0));
        EXPECT_FALSE(b.blank(10, 10));
        ASSERT_EQ(r.calls("GridBlank").size(), 1u);
        EXPECT_EQ(r.list.NoFiles, 0);
        // Inside: the flag 1 blanks the middle, over the outline and grid of the first run.
        r.add("m1.grd");
        r.prompt.answer(Answer::Replace);
        r.digitise("2,2\r\n8,2\r\n8,8\r\n2,8\r\n");
        GridStepOptions in;
        in.optBlankOutside = false;
        ASSERT_TRUE(cmdBlank(r.ctx, in));
        EXPECT_EQ(lines(r.dir.read("m1blnpts.bln"))[0], " 5            1");
        EXPECT_TRUE(r.read("m1b.grd").blank(10, 10));
        EXPECT_FALSE(r.read("m1b.grd").blank(0, 0));
    }
}

TEST(CloudGrids, BlankCancelMissingDigitiseFileAndTooFewPoints) {
    GridRun r;
    r.grid("m1.grd");
    r.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(FileExists(r.dir.path("m1b.grd")));
    cmdBlank(r.ctx, {});
    EXPECT_EQ(r.list.NoFiles, 1);
    EXPECT_FALSE(FileExists(r.dir.path("m1b.grd")));
    cmdBlank(r.ctx, {});  // OK without a digit.dat
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("digit.dat"));
    r.digitise("1,1\r\n2,2\r\n");
    EXPECT_FALSE(cmdBlank(r.ctx, {}));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("at least three"));
    EXPECT_EQ(r.list.NoFiles, 1);
    EXPECT_FALSE(r.prompt.busyNow);
}

TEST(CloudGrids, BlankRefusedLeavesTheLastGoodRunsFiles) {
    GridRun r;
    r.grid("m1.grd");
    r.digitise("2,2\r\n8,2\r\n8,8\r\n2,8\r\n");
    ASSERT_TRUE(cmdBlank(r.ctx, {}));
    const std::vector<std::string> kept{"m1blnpts.dat", "m1blnpts.bln", "m1b.grd"};
    std::vector<std::string> good;
    for (const std::string& f : kept) good.push_back(r.dir.read(f));
    r.add("m1.grd");
    // Wholly off the grid (nothing left), two points, two areas: refused, nothing written.
    for (const char* refused : {"20,20\r\n30,20\r\n30,30\r\n", "1,1\r\n2,2\r\n",
                                "2,2\r\n8,2\r\n8,8\r\n-1\r\n3,3\r\n4,3\r\n4,4\r\n"}) {
        r.prompt.answer(Answer::Replace);
        r.digitise(refused);
        EXPECT_FALSE(cmdBlank(r.ctx, {})) << refused;
        for (std::size_t k = 0; k < kept.size(); ++k) EXPECT_EQ(r.dir.read(kept[k]), good[k]) << kept[k];
    }
}

// A listed file that is not a grid is named before the replace question and the
// digitise prompt of either step.
TEST(CloudGrids, AFileThatIsNotAGridIsRefusedBeforeAnyQuestion) {
    for (bool blank : {true, false}) {
        GridRun r;
        r.add("molar.csv", "1,2,3\r\n4,5,6\r\n");
        r.dir.write("molarb.grd", "an earlier grid");
        r.dir.write("molare.grd", "an earlier grid");
        GridStepOptions o;
        o.chkRedArea = true;
        EXPECT_FALSE(blank ? cmdBlank(r.ctx, o) : cmdExtract(r.ctx, o));
        ASSERT_EQ(r.prompt.shown.size(), 1u) << blank;
        EXPECT_EQ(r.prompt.shown[0].text, "The file " + r.dir.path("molar.csv") +
                                              " is not a Surfer grid (it starts with neither DSAA, DSBB nor DSRB).");
        EXPECT_EQ(r.list.NoFiles, 1);
    }
}

TEST(CloudGrids, ExtractByCornersAndByStep) {
    // xmin 0, dx 0.5, x1 1.2, x2 3.0: columns 4..7 (x 1.5 to 3.0); a corner on a node
    // (y1 = 1.0) leaves that node out.
    const NodeRange n = DigitisedNodes(0, 0, 0.5, 0.5, 21, 21, 1.2, 1.0, 3.0, 3.0);
    EXPECT_EQ(n.c1, 4);
    EXPECT_EQ(n.c2, 7);
    EXPECT_EQ(n.r1, 4);
    EXPECT_EQ(n.r2, 7);
    // Corners beyond the grid are held to it.
    const NodeRange all = DigitisedNodes(0, 0, 0.5, 0.5, 21, 21, -5, -5, 99, 99);
    EXPECT_EQ(all.c1, 1);
    EXPECT_EQ(all.r2, 21);

    for (bool v6 : {false, true}) {
        GridRun r(v6);
        r.grid("m1.grd");
        r.digitise("1.2,1.0\r\n3.0,3.0\r\n");
        GridStepOptions o;
        o.chkRedArea = true;
        o.chkPlotSurfer = false;
        ASSERT_TRUE(cmdExtract(r.ctx, o));
        const Grid e = r.read("m1e.grd");
        EXPECT_EQ(e.cols, 4);
        EXPECT_EQ(e.rows, 4);
        EXPECT_DOUBLE_EQ(e.x(0), 1.5);
        EXPECT_DOUBLE_EQ(e.at(3, 3), 6.0);
        EXPECT_EQ(r.dir.read("m1extpts.dat"), "1.2,1.0\r\n3.0,3.0\r\n");
        // Both ticked with a step of 3: "er3".
        r.add("m1.grd");
        r.prompt.answer(Answer::Replace);  // the corners of the first run
        r.digitise("-5,-5\r\n99,99\r\n");
        o.chkRedRow = true;
        o.txtRedRow = "3";
        ASSERT_TRUE(cmdExtract(r.ctx, o));
        EXPECT_EQ(r.read("m1er3.grd").cols, 7);
        EXPECT_THAT(r.calls("GridExtract").back(), HasSubstr("r1:=1, r2:=21, rFreq:=3, c1:=1, c2:=21, cFreq:=3"));
    }
}

TEST(CloudGrids, ExtractRefusals) {
    GridRun r;
    r.grid("m1.grd");
    GridStepOptions o;
    EXPECT_FALSE(cmdExtract(r.ctx, o));  // nothing ticked
    EXPECT_EQ(r.prompt.shown.at(0).text, "Tick \"Reduce grid area\" or \"Reduce no. rows/cols\" (or both) to say "
                                         "what to extract.");
    o.chkRedRow = true;
    o.txtRedRow = "0.4";
    EXPECT_FALSE(cmdExtract(r.ctx, o));
    EXPECT_EQ(r.prompt.shown.at(1).title, "Values");
    o.chkRedRow = false;
    o.chkRedArea = true;
    r.digitise("3,3\r\n1,1\r\n");
    EXPECT_TRUE(cmdExtract(r.ctx, o));
    EXPECT_EQ(r.prompt.shown.back().text, "Points invalid - redigitise points.");
    EXPECT_EQ(r.list.NoFiles, 1);
    r.digitise("20,20\r\n30,30\r\n");
    EXPECT_FALSE(cmdExtract(r.ctx, o));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("holds no node"));
    EXPECT_FALSE(r.prompt.busyNow);
}

TEST(CloudGrids, ExtractRefusedLeavesTheLastGoodRunsFiles) {
    GridRun r;
    r.grid("m1.grd");
    Grid g = r.read("m1.grd");
    for (int j = 15; j < 21; ++j)
        for (int i = 15; i < 21; ++i) g.at(i, j) = kBlank;  // x and y from 7.5 off the crown
    formats::writeSurferGrid(r.dir.path("m1.grd"), g, formats::SurferGridFormat::Binary7);
    GridStepOptions o;
    o.chkRedArea = true;
    o.chkPlotSurfer = false;
    r.digitise("1.2,1.0\r\n3.0,3.0\r\n");
    ASSERT_TRUE(cmdExtract(r.ctx, o));
    const std::string corners = r.dir.read("m1extpts.dat"), grid = r.dir.read("m1e.grd");
    r.add("m1.grd");
    // Corners reversed, beyond the grid, and round blank nodes only: nothing written.
    for (const char* refused : {"3,3\r\n1,1\r\n", "20,20\r\n30,30\r\n", "8,8\r\n9.6,9.6\r\n"}) {
        r.prompt.answer(Answer::Replace);
        r.digitise(refused);
        cmdExtract(r.ctx, o);
        EXPECT_EQ(r.list.NoFiles, 1) << refused;
        EXPECT_EQ(r.dir.read("m1extpts.dat"), corners) << refused;
        EXPECT_EQ(r.dir.read("m1e.grd"), grid) << refused;
    }
}

TEST(CloudGrids, MapsSideBySideWithTheirLabels) {
    GridRun r;
    r.grid("m1.grd");
    r.grid("m2.grd");
    GridStepOptions o;
    o.chkRedRow = true;
    ASSERT_TRUE(cmdExtract(r.ctx, o));
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_THAT(r.calls("GridExtract").front(), HasSubstr("r1:=-1, r2:=-1, rFreq:=2, c1:=-1, c2:=-1, cFreq:=2"));
    EXPECT_EQ(r.read("m1r2.grd").cols, 11);
    auto doc = surfer::asPlot(r.list.m_Surfer->ActiveDocument());
    const auto maps = doc->Shapes.maps();
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_DOUBLE_EQ(maps[0]->Left + maps[0]->XLength / 2, 20.19);
    EXPECT_DOUBLE_EQ(maps[1]->Left + maps[1]->XLength / 2, 30.19);
    std::vector<std::string> labels;
    for (const auto& s : doc->Shapes.all())
        if (auto t = std::dynamic_pointer_cast<surfer::TextShape>(s)) {
            labels.push_back(t->Text);
            EXPECT_EQ(t->Font.HAlign, 2);
            EXPECT_DOUBLE_EQ(t->Y, 14.63 - maps[0]->YLength / 2 - 1);
        }
    EXPECT_THAT(labels, ::testing::ElementsAre("m1r2.grd", "m2r2.grd"));
    // Contour maps, no labels.
    r.add("m1.grd");
    o.optRelief = false;
    o.chkLabelSurfer = false;
    ASSERT_TRUE(cmdExtract(r.ctx, o));
    EXPECT_EQ(doc->Shapes.maps().back()->mapKind(), surfer::MapKind::Contour);
    EXPECT_EQ(doc->Shapes.all().size(), 5u);
}

TEST(CloudGrids, Version6MapsFollowContourAndLabelAndAMissingGridStartsNoSurfer) {
    GridRun r(true);
    r.grid("m1.grd");
    r.grid("m2.grd");
    GridStepOptions o;
    o.chkRedRow = true;
    o.optRelief = false;
    o.chkLabelSurfer = false;
    ASSERT_TRUE(cmdExtract(r.ctx, o));
    auto doc = surfer::asPlot(r.list.m_Surfer->ActiveDocument());
    ASSERT_EQ(doc->Shapes.maps().size(), 2u);
    for (const auto& m : doc->Shapes.maps()) EXPECT_EQ(m->mapKind(), surfer::MapKind::Contour);
    EXPECT_EQ(doc->Shapes.all().size(), 2u);  // no labels
    r.add("m1.grd");
    o.optRelief = true;
    o.chkLabelSurfer = true;
    ASSERT_TRUE(cmdExtract(r.ctx, o));
    EXPECT_EQ(doc->Shapes.maps().back()->mapKind(), surfer::MapKind::Relief);
    EXPECT_EQ(r.calls("DrawText").size(), 1u);

    // "Start new Surfer" with a grid that is not there: said before any instance starts.
    const std::size_t running = surfer::instances().size();
    r.add("gone.grd");
    o.chkStartSurfer = true;
    EXPECT_FALSE(cmdExtract(r.ctx, o));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("gone.grd"));
    EXPECT_EQ(surfer::instances().size(), running);
}
